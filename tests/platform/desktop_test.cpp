#include <gtest/gtest.h>
#include <httplib.h>

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <qpa/qwindowsysteminterface.h>

#include "core/gbk.h"
#include "platform/desktop/blocking_fetch.h"
#include "platform/desktop/event_pump.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/picture_box.h"
#include "platform/desktop/qt_text.h"
#include "platform/desktop/shell_open.h"
#include "tests/support/temporary_directory.h"

namespace lumora {
namespace {

TEST(PumpEvents, ProcessesEventsForItsTimeAndNothingForZero) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    pumpEvents(0);
    pumpEvents(-5);
    EXPECT_FALSE(ran);
    QElapsedTimer clock;
    clock.start();
    pumpEvents(40);
    EXPECT_TRUE(ran);
    EXPECT_GE(clock.elapsed(), 39);
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(PictureBox, CentresAndShrinksToFit) {
    struct Case {
        QSize picture;
        QSize box;
        QRect expected;
    };
    const Case cases[] = {
        {{795, 418}, {344, 160}, {20, 0, 304, 160}},  // shrunk, centred horizontally
        {{100, 50}, {344, 160}, {122, 55, 100, 50}},  // smaller: centred, not enlarged
        {{266, 194}, {344, 160}, {62, 0, 219, 160}},
        {{400, 100}, {152, 216}, {0, 89, 152, 38}},
        {{0, 0}, {344, 160}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fittedPictureRect(c.picture, c.box), c.expected) << c.picture.width();
    }

    QImage image(795, 418, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    ASSERT_TRUE(image.save(&buffer, "JPG"));
    PictureBox box;
    box.resize(344, 160);
    box.showPicture(ByteData(jpeg.constData(), static_cast<size_t>(jpeg.size())));
    EXPECT_EQ(box.picture().size(), QSize(795, 418));
    EXPECT_EQ(box.pictureRect(), QRect(20, 0, 304, 160));
    box.showPicture(ByteData());
    EXPECT_TRUE(box.picture().isNull());
    box.showPicture(ByteData("not a picture"));
    EXPECT_TRUE(box.picture().isNull());
}

TEST(QtText, ConvertsAtTheWidgetEdge) {
    EXPECT_EQ(toQString(gbk("玄幻小说")), QString::fromUtf8("玄幻小说"));
    EXPECT_EQ(toQString(ByteText("a\xFF")), QString::fromUtf8("a\xEF\xBF\xBD"));
    EXPECT_EQ(toByteText(QString::fromUtf8("乗风")), gbk("乗风"));
    EXPECT_EQ(toByteText(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                           "b")),
              ByteText("a?b"));
}

TEST(MessageBox, TheAnswererSeesTextAndStyle) {
    std::vector<std::pair<ByteText, int>> asked;
    setMessageBoxAnswerer([&](const ByteText& text, int style) {
        asked.emplace_back(text, style);
        return style == kMessageQuestion ? kAnswerCancel : kAnswerOk;
    });
    EXPECT_EQ(messageBox(gbk("是否查看文件？"), kMessageQuestion), kAnswerCancel);
    EXPECT_EQ(messageBox(gbk("小说种类还未选择"), kMessageOk), kAnswerOk);
    setMessageBoxAnswerer({});
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].first, gbk("是否查看文件？"));
    EXPECT_EQ(asked[1].second, kMessageOk);
}

TEST(MessageBox, RealBoxCarriesTheCaptionAndAnswersCancelOnClose) {
    QTimer::singleShot(50, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowTitle() == QString::fromUtf8("信息："))
                w->close();
        }
    });
    EXPECT_EQ(messageBox(gbk("关闭我"), kMessageOkCancel), kAnswerCancel);
}

TEST(ShellOpen, StartsAnExecutableDetached) {
    const fixture::TemporaryDirectory temporary;
    const std::string& dir = temporary.path();
    ASSERT_FALSE(dir.empty());
    const std::filesystem::path script = std::filesystem::path(dir) / "程序";
    std::ofstream(script) << "#!/bin/sh\ntouch \"" << dir << "/started\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    shellOpen(gbk((dir + "/程序").c_str()));
    const auto marker = std::filesystem::path(dir) / "started";
    for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(std::filesystem::exists(marker));

    std::vector<ByteText> opened;
    setShellOpenHandler([&](const ByteText& target) { opened.push_back(target); });
    shellOpen(ByteText("/x/y.rar"));
    setShellOpenHandler({});
    EXPECT_EQ(opened, std::vector<ByteText>{ByteText("/x/y.rar")});
}

class CountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(BlockingFetch, RepaintsDuringTheTransferAndHandlesInputAfterIt) {
    httplib::Server server;
    server.Get("/slow", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider(
            "application/octet-stream", [](size_t offset, httplib::DataSink& sink) {
                if (offset >= 6) {
                    sink.done();
                    return true;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                sink.write("ab", 2);
                return true;
            });
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });

    CountingWidget painted;
    painted.resize(100, 100);
    painted.show();
    QPushButton button("x");
    button.resize(80, 30);
    button.move(200, 0);
    button.show();
    pumpEvents(50);
    ASSERT_NE(button.windowHandle(), nullptr);

    std::vector<std::string> order;
    QObject::connect(&button, &QPushButton::clicked, [&] { order.push_back("click"); });
    const int paintsBefore = painted.paints;
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&] { painted.update(); });
    repaint.start(20);
    // A click arrives from the window system while the transfer runs.
    QTimer::singleShot(100, [&] {
        QWindow* window = button.windowHandle();
        const QPointF at(10, 10);
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, at, window->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
            QEvent::MouseButtonPress);
        QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            window, at, window->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
            QEvent::MouseButtonRelease);
    });

    const HttpResponse response =
        fetchBlocking(ByteText("http://127.0.0.1:" + std::to_string(port) + "/slow"));
    order.push_back("fetched");
    repaint.stop();
    EXPECT_EQ(response.body, "ababab");
    EXPECT_EQ(response.status, 200);
    EXPECT_TRUE(response.complete);
    EXPECT_GT(painted.paints, paintsBefore + 3);
    pumpEvents(50);
    EXPECT_EQ(order, (std::vector<std::string>{"fetched", "click"}));

    server.stop();
    serving.join();
}

}  // namespace
}  // namespace lumora
