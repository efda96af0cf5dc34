#include "platform/desktop/blocking_fetch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <atomic>
#include <thread>

#include "platform/http.h"

namespace lumora {

HttpResponse fetchBlocking(const ByteText& url) {
    if (QCoreApplication::instance() == nullptr)
        return httpFetch(url);
    QEventLoop loop;
    HttpResponse response;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        response = httpFetch(url);
        done = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Input waits in the queue and is handled after the fetch, in its original order.
    while (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    return response;
}

}  // namespace lumora
