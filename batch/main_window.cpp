#include "batch/main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "batch/designer.h"
#include "batch/digits_only.h"
#include "batch/library_browser.h"
#include "batch/link_browser.h"
#include "batch/links.h"
#include "batch/progress_window.h"
#include "core/gbk.h"
#include "harvest/harvest_run.h"
#include "platform/desktop/blocking_fetch.h"
#include "platform/desktop/event_pump.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/qt_text.h"
#include "platform/files.h"

namespace lumora {

namespace {

void fillCategories(QComboBox* names, QComboBox* urls, const std::vector<Category>& table) {
    for (const Category& category : table) {
        names->addItem(toQString(category.name), QByteArray::fromStdString(category.name.str()));
        urls->addItem(toQString(category.listingPrefix),
                      QByteArray::fromStdString(category.listingPrefix.str()));
    }
    names->setCurrentIndex(0);
    urls->setCurrentIndex(0);
}

// The run's windows: the page box counts down, the progress window shows each novel, the
// pauses let the windows breathe, and the summary hands over to the library browser.
class MainWindowRun : public HarvestWindows {
public:
    MainWindowRun(MainWindow* window, QLineEdit* pageBox, ProgramState& state,
                  std::function<void()> handOver)
        : window_(window), pageBox_(pageBox), state_(state), handOver_(std::move(handOver)) {}

    ByteText pageBoxText() const override { return toByteText(pageBox_->text()); }
    void setPageBoxText(const ByteText& text) override { pageBox_->setText(toQString(text)); }
    void setProgressText(const ByteText& text) override {
        if (progress_)
            progress_->setText(text);
    }
    void pause(int ms) override { pumpEvents(ms); }

    void hideMainWindow() override { window_->hide(); }
    void showProgressWindow() override {
        progress_ = new ProgressWindow(window_);
        progress_->show();
    }
    int ask(const ByteText& text, int style) override { return messageBox(text, style); }
    void endProgram(int exitCode) override { state_.endProgram(exitCode); }
    void handOverToLibraryBrowser() override {
        handOver_();
        // The profile goes with the run; the progress and main windows follow.
        if (progress_)
            progress_->deleteLater();
        window_->deleteLater();
    }

private:
    MainWindow* window_;
    QLineEdit* pageBox_;
    ProgramState& state_;
    std::function<void()> handOver_;
    QPointer<ProgressWindow> progress_;
};

}  // namespace

MainWindow::MainWindow(ProgramState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      state_(state) {
    loadPictureResources();
    logo_.load(QStringLiteral(":/lumora/logo.jpg"));
    setWindowTitle(ui("Lumora     BY:Tamber"));
    // The controls were designed for a small dialog font.
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    setFixedSize(269, 161);
    setAttribute(Qt::WA_DeleteOnClose);
    state_.responseDelay = 1;

    joinGroupButton_ = placeControl<QToolButton>(this, "超级按钮1", {0, 8, 34, 20});
    joinGroupButton_->setText(ui("加群"));
    joinGroupButton_->setAutoRaise(true);
    joinGroupButton_->setToolTip(ui("学习使用方法、BUG举报、建议、内测优先权   尽在官方群：") +
                                 ui(links::kChatGroupNumber));
    addContactButton_ = placeControl<QToolButton>(this, "超级按钮2", {35, 8, 32, 20});
    addContactButton_->setText(ui("加Q"));
    addContactButton_->setAutoRaise(true);
    addContactButton_->setToolTip(ui("该Q一般情况下不用于闲聊，用于举报BUG"));

    pageBox_ = placeControl<QLineEdit>(this, "编辑框1", {72, 8, 56, 16}, ui("1"));
    pageBox_->setAlignment(Qt::AlignCenter);
    pageBox_->installEventFilter(new DigitsOnly(pageBox_));
    auto* pageLabel = placeControl<QLabel>(this, "透明标签1", {128, 8, 24, 16}, ui("页"));
    pageLabel->setAttribute(Qt::WA_TranslucentBackground);

    finishedCategories_ = placeControl<QComboBox>(this, "完本类", {165, 8, 96, 20});
    ongoingCategories_ = placeControl<QComboBox>(this, "连载类", {166, 8, 96, 20});
    finishedUrls_ = placeControl<QComboBox>(this, "完本网页", {32, 448, 264, 20});
    ongoingUrls_ = placeControl<QComboBox>(this, "连载网页", {48, 377, 264, 20});
    finishedUrls_->setEditable(true);
    ongoingUrls_->setEditable(true);
    fillCategories(finishedCategories_, finishedUrls_,
                   state_.profile.categories(CategoryKind::finished));
    fillCategories(ongoingCategories_, ongoingUrls_,
                   state_.profile.categories(CategoryKind::ongoing));
    ongoingCategories_->hide();
    finishedUrls_->hide();
    ongoingUrls_->hide();

    finishedKind_ = placeControl<QRadioButton>(this, "单选框1", {8, 56, 48, 16}, ui("完本"));
    ongoingKind_ = placeControl<QRadioButton>(this, "单选框2", {8, 80, 56, 16}, ui("连载中"));
    finishedKind_->setChecked(true);
    overwriteBox_ =
        placeControl<QCheckBox>(this, "选择框1", {72, 80, 120, 16}, ui("若重复覆盖文件"));
    overwriteBox_->setChecked(true);
    overwriteBox_->hide();

    harvestButton_ = placeControl<QPushButton>(this, "按钮2", {208, 64, 56, 32}, ui("采集"));
    // The label is narrower than its text in one line: it takes two.
    placeControl<QLabel>(this, "标签1", {0, 104, 112, 24}, ui("电脑响应时间：（毫秒）"))
        ->setWordWrap(true);
    responseTimeBox_ =
        placeControl<QLineEdit>(this, "编辑框2", {120, 104, 80, 24}, ui("默认为：1"));
    responseTimeBox_->installEventFilter(new DigitsOnly(responseTimeBox_));
    auto* confirmButton = placeControl<QPushButton>(this, "按钮3", {208, 104, 56, 24}, ui("确认"));
    placeControl<QPushButton>(this, "按钮1", {64, 384, 80, 32}, ui("立即全部采集"))->hide();
    groupBrowser_ = placeControl<LinkBrowser>(this, "超文本浏览框1", {168, 120, 48, 24});
    contactBrowser_ = placeControl<LinkBrowser>(this, "超文本浏览框2", {24, 216, 48, 24});
    groupBrowser_->hide();
    contactBrowser_->hide();

    connect(finishedKind_, &QRadioButton::clicked, this, &MainWindow::showFinishedKind);
    connect(ongoingKind_, &QRadioButton::clicked, this, &MainWindow::showOngoingKind);
    // The URL lists follow their category lists, so one index selects both.
    connect(finishedCategories_, &QComboBox::activated, finishedUrls_, &QComboBox::setCurrentIndex);
    connect(finishedUrls_, &QComboBox::activated, finishedCategories_, &QComboBox::setCurrentIndex);
    connect(ongoingCategories_, &QComboBox::activated, ongoingUrls_, &QComboBox::setCurrentIndex);
    connect(confirmButton, &QPushButton::clicked, this, &MainWindow::applyResponseTime);
    connect(harvestButton_, &QPushButton::clicked, this, &MainWindow::runHarvest);
    connect(joinGroupButton_, &QToolButton::clicked, this, [this] {
        groupBrowser_->setAddress(ByteText(links::kChatGroupJoin));
        joinGroupButton_->hide();
    });
    connect(addContactButton_, &QToolButton::clicked, this, [this] {
        contactBrowser_->setAddress(ByteText(links::kDirectChat));
        addContactButton_->hide();
    });
    centreOnScreen(this);
}

MainWindow::~MainWindow() {
    deleteDirectory(LibraryLayout(state_.runDirectory).cacheDir());
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!logo_.isNull())
        painter.drawTiledPixmap(rect(), QPixmap::fromImage(logo_));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closed by the user: the window goes (and the cache with it), and so does the program.
    QWidget::closeEvent(event);
    if (event->isAccepted())
        state_.endProgram(0);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::showFinishedKind() {
    finishedCategories_->show();
    ongoingCategories_->hide();
    overwriteBox_->hide();
}

void MainWindow::showOngoingKind() {
    overwriteBox_->show();
    finishedCategories_->hide();
    ongoingCategories_->show();
    ongoingUrls_->setCurrentIndex(ongoingCategories_->currentIndex());
}

void MainWindow::applyResponseTime() {
    ByteText text = toByteText(responseTimeBox_->text());
    const ByteText hint = gbk("默认为：");
    if (textLeft(text, textLength(hint)) == hint) {
        text = textRight(text, textLength(text) - textLength(hint));
    }
    state_.responseDelay = toInt(toNumber(text));
}

CategoryKind MainWindow::selectedKind() const {
    return finishedKind_->isChecked() ? CategoryKind::finished : CategoryKind::ongoing;
}

void MainWindow::runHarvest() {
    const CategoryKind kind = selectedKind();
    QComboBox* names = kind == CategoryKind::finished ? finishedCategories_ : ongoingCategories_;
    QComboBox* urls = kind == CategoryKind::finished ? finishedUrls_ : ongoingUrls_;
    const int categoryIndex = names->currentIndex();

    // No selection gives an empty category. The URL comes from the URL list's selected item,
    // never from its edit text.
    HarvestSettings settings;
    settings.kind = kind;
    if (categoryIndex >= 0) {
        settings.category = {
            ByteText(names->currentData().toByteArray().toStdString()),
            ByteText(urls->itemData(urls->currentIndex()).toByteArray().toStdString())};
    }
    settings.overwrite = overwriteBox_->isChecked();
    settings.responseDelay = state_.responseDelay;

    const LibraryLayout layout(state_.runDirectory);
    MainWindowRun windows(this, pageBox_, state_, [this, kind, categoryIndex] {
        handOverToLibraryBrowser(kind, categoryIndex);
    });
    const Fetch fetch = fetchBlocking;
    HarvestContext run{state_.profile, layout, settings, state_.counters, fetch, windows};
    lumora::runHarvest(run, windows);
}

void MainWindow::handOverToLibraryBrowser(CategoryKind kind, int categoryIndex) {
    browser_ = new LibraryBrowser(state_);
    browser_->onClosed = [state = &state_] { state->endProgram(0); };
    browser_->presetRun(kind, categoryIndex);
    const ByteText category = state_.profile.category(kind, categoryIndex).name;
    browser_->setFolder(LibraryLayout(state_.runDirectory).archiveDir(kind, category));
    browser_->show();
}

}  // namespace lumora
