#include "platform/MessageBox.h"

#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

TEST(MessageBox, ForcedAndSafeAnswers)
{
    using Platform::EMessageBoxButtons;
    const struct
    {
        const char* forced;
        EMessageBoxButtons buttons;
        Platform::EMessageBoxAnswer answer;
    } cases[] = {
        // No terminal (tests run without one): the safe answer.
        {nullptr, EMessageBoxButtons::Ok, Platform::kAnswerOk},
        {nullptr, EMessageBoxButtons::OkCancel, Platform::kAnswerCancel},
        {nullptr, EMessageBoxButtons::YesNo, Platform::kAnswerNo},
        {nullptr, EMessageBoxButtons::YesNoCancel, Platform::kAnswerCancel},
        {nullptr, EMessageBoxButtons::RetryCancel, Platform::kAnswerCancel},
        {"bogus", EMessageBoxButtons::YesNo, Platform::kAnswerNo},
        // Forced answers.
        {"yes", EMessageBoxButtons::YesNo, Platform::kAnswerYes},
        {"YES", EMessageBoxButtons::YesNoCancel, Platform::kAnswerYes},
        {"no", EMessageBoxButtons::YesNoCancel, Platform::kAnswerNo},
        {"cancel", EMessageBoxButtons::YesNoCancel, Platform::kAnswerCancel},
        {"cancel", EMessageBoxButtons::YesNo, Platform::kAnswerNo},
        {"ok", EMessageBoxButtons::OkCancel, Platform::kAnswerOk},
        {"yes", EMessageBoxButtons::OkCancel, Platform::kAnswerOk},
        {"no", EMessageBoxButtons::OkCancel, Platform::kAnswerCancel},
        {"ok", EMessageBoxButtons::RetryCancel, Platform::kAnswerRetry},
        {"no", EMessageBoxButtons::Ok, Platform::kAnswerOk},
    };
    if (::isatty(STDIN_FILENO) == 1)
        GTEST_SKIP() << "standard input is a terminal";
    for (const auto& c : cases)
    {
        CScopedEnvironment forced("HALVANE_MESSAGEBOX", c.forced);
        ::testing::internal::CaptureStderr();
        const auto answer =
            Platform::ShowMessageBox("main.lua|3|boom\n\nDebug code now?", "Halvane", c.buttons);
        const std::string shown = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer) << (c.forced ? c.forced : "(none)") << " " << static_cast<int>(c.buttons);
        EXPECT_EQ(shown.rfind("[Halvane] main.lua|3|boom\n\nDebug code now?\n-> ", 0), 0u) << shown;
    }
}
