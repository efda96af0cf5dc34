#pragma once

// The styles and answers of the programs' message boxes, shared by the engine and the windows:
// style 0 OK; 1 OK and Cancel; 33 OK and Cancel with the question icon; 64 OK with the
// information icon. The answer is 0 for OK and 1 for Cancel or for closing the box.

namespace lumora {

inline constexpr int kMessageOk = 0;
inline constexpr int kMessageOkCancel = 1;
inline constexpr int kMessageQuestion = 33;
inline constexpr int kMessageInformation = 64;

inline constexpr int kAnswerOk = 0;
inline constexpr int kAnswerCancel = 1;

}  // namespace lumora
