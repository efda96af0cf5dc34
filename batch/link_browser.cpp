#include "batch/link_browser.h"

#include "platform/desktop/shell_open.h"

namespace lumora {

void LinkBrowser::setAddress(const ByteText& url) {
    shellOpen(url);
}

}  // namespace lumora
