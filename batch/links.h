#pragma once

// Where the messenger buttons and the update question lead. The chat service and the
// virus-scan report live outside the program; these are the project's own pages for them.

namespace lumora::links {

inline constexpr const char* kChatGroupNumber = "61804532";
inline constexpr const char* kChatGroupJoin = "https://lumora.example/chat/join?group=61804532";
inline constexpr const char* kDirectChat = "https://lumora.example/chat/contact?uin=61804533";
inline constexpr const char* kVirusScanReport = "https://lumora.example/scan-report";
inline constexpr const char* kMaintainerNumber = "61804533";

}  // namespace lumora::links
