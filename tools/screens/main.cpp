// lumora-screens: pictures of our own windows for the README and the mode chooser's help.
// Runs a real harvest against the in-process demo site in a temporary run directory; run it on
// an X display (xvfb-run) so that the dropped-down category list can be captured from the screen.
//
//   lumora-screens DOCS_DIR RESOURCES_DIR

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "batch/library_browser.h"
#include "batch/main_window.h"
#include "batch/progress_window.h"
#include "platform/desktop/event_pump.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/qt_text.h"
#include "platform/http.h"
#include "tools/demo-site/demo_site.h"

namespace {

using namespace lumora;

bool save(const QPixmap& picture, const QString& path) {
    const bool saved = picture.save(path);
    std::printf("%s %s (%dx%d)\n", saved ? "wrote" : "FAILED", qPrintable(path), picture.width(),
                picture.height());
    return saved;
}

// The main window with the finished-category list dropped down, cut from the screen.
QPixmap mainWindowWithListOpen(MainWindow& window) {
    auto* categories = window.findChild<QComboBox*>(QString::fromUtf8("完本类"));
    categories->showPopup();
    pumpEvents(300);
    QRect area = window.frameGeometry();
    if (QWidget* popup = categories->view()->window())
        area = area.united(popup->frameGeometry());
    QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                                area.height());
    categories->hidePopup();
    return shot;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: lumora-screens DOCS_DIR RESOURCES_DIR\n");
        return 2;
    }
    const QString docs = QString::fromLocal8Bit(argv[1]);
    const QString resources = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(docs);

    demo::DemoSite site;
    if (site.start(0) <= 0)
        return 1;
    QTemporaryDir runDir;
    ProgramState state;
    state.runDirectory = toByteText(runDir.path());
    state.profile = site.profile();
    state.endProgram = [](int) {};
    state.responseDelay = 20;
    setMessageBoxAnswerer([](const ByteText&, int) { return kAnswerOk; });

    // A cover as the demo site draws it: the title in Chinese, so a person sees it is the right
    // one.
    const demo::NovelEntry& first = site.catalogue().page(CategoryKind::finished, 0, 1)[0];
    const ByteData cover = httpGet(state.profile.coverUrl(first.coverPath));
    QPixmap coverPicture;
    coverPicture.loadFromData(reinterpret_cast<const uchar*>(cover.data()),
                              static_cast<uint>(cover.size()));
    bool ok = save(coverPicture, docs + "/demo-cover.png");

    auto* window = new MainWindow(state);
    window->show();
    pumpEvents(300);
    ok &= save(window->grab(), docs + "/main-window.png");
    const QPixmap listOpen = mainWindowWithListOpen(*window);
    ok &= save(listOpen, docs + "/main-window-list.png");
    ok &= listOpen.scaled(266, 194, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
              .save(resources + "/help-batch.jpg", "JPG", 90);

    // The progress window halfway through a run.
    bool progressTaken = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* progress = window->findChild<ProgressWindow*>();
        if (progressTaken || !progress || !progress->textBox()->toPlainText().contains("3篇"))
            return;
        progressTaken = true;
        save(progress->grab(), docs + "/progress-window.png");
    });
    watch.start(5);
    window->findChild<QPushButton*>(QString::fromUtf8("按钮2"))->click();
    watch.stop();
    ok &= progressTaken;

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LibraryBrowser* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* b = qobject_cast<LibraryBrowser*>(w))
            browser = b;
    }
    if (browser) {
        auto* files = browser->findChild<QListWidget*>(QString::fromUtf8("文件框1"));
        files->setFocus();
        files->setCurrentRow(2);
        pumpEvents(300);
        ok &= save(browser->grab(), docs + "/library-browser.png");
    }
    return ok && browser ? 0 : 1;
}
