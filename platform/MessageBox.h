#pragma once

// Message boxes on the console. The caption and message always go to
// standard error. When standard input and standard error are terminals the
// user answers there; otherwise the box takes its safe answer (No, or Cancel
// when there is a Cancel button; OK on a box with only OK). The environment
// variable HALVANE_MESSAGEBOX ("yes", "no", "ok" or "cancel") forces the
// answer: "yes" and "ok" choose the box's accepting button (Yes, OK or
// Retry), "no" and "cancel" its declining one (No when the box has it,
// otherwise Cancel; "cancel" on a Yes/No box answers No).

#include <string_view>

namespace Platform
{

enum class EMessageBoxButtons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    RetryCancel,
};

// Answers, with the values scripts see.
enum EMessageBoxAnswer : int
{
    kAnswerOk = 1,
    kAnswerCancel = 2,
    kAnswerRetry = 4,
    kAnswerYes = 6,
    kAnswerNo = 7,
};

// The text and the caption are UTF-8.
EMessageBoxAnswer ShowMessageBox(std::string_view text, std::string_view caption, EMessageBoxButtons buttons);

} // namespace Platform
