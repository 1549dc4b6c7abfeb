#pragma once
// The numbers the message dialog and every modal dialog share with the model:
// message kinds, button sets and modal results.
#include <cstdint>

// Modal results, numbered as the callers expect them.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                          mrIgnore = 5, mrYes = 6, mrNo = 7 };

enum TMsgKind : uint8_t { mkWarning = 0, mkError = 1, mkInformation = 2, mkConfirmation = 3,
                          mkSevereError = 4 };

// Button flags, combined into the sets the dialog knows.
enum TMsgButton : uint16_t { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16,
                             mbRetry = 32, mbIgnore = 64 };
inline constexpr uint16_t mbOKOnly = mbOK;                       // 4
inline constexpr uint16_t mbYesNoCancel = mbYes | mbNo | mbCancel; // 11
inline constexpr uint16_t mbYesNo = mbYes | mbNo;                // 3
inline constexpr uint16_t mbOKCancel = mbOK | mbCancel;          // 12
inline constexpr uint16_t mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore; // 112
