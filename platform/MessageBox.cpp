#include "platform/MessageBox.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace Platform
{

namespace
{

struct SChoice
{
    const char* key;  // what the user types
    const char* name; // how it is shown
    EMessageBoxAnswer answer;
};

struct SBox
{
    SChoice choices[3];
    int count;
    EMessageBoxAnswer accept;
    EMessageBoxAnswer decline; // also the safe answer
    EMessageBoxAnswer no;      // the answer to "no" (a real No where the box has one)
};

SBox Describe(EMessageBoxButtons buttons)
{
    switch (buttons)
    {
    case EMessageBoxButtons::Ok:
        return {{{"o", "OK", kAnswerOk}}, 1, kAnswerOk, kAnswerOk, kAnswerOk};
    case EMessageBoxButtons::OkCancel:
        return {{{"o", "OK", kAnswerOk}, {"c", "Cancel", kAnswerCancel}},
                2,
                kAnswerOk,
                kAnswerCancel,
                kAnswerCancel};
    case EMessageBoxButtons::YesNo:
        return {{{"y", "Yes", kAnswerYes}, {"n", "No", kAnswerNo}}, 2, kAnswerYes, kAnswerNo, kAnswerNo};
    case EMessageBoxButtons::YesNoCancel:
        return {{{"y", "Yes", kAnswerYes}, {"n", "No", kAnswerNo}, {"c", "Cancel", kAnswerCancel}},
                3,
                kAnswerYes,
                kAnswerCancel,
                kAnswerNo};
    case EMessageBoxButtons::RetryCancel:
        return {{{"r", "Retry", kAnswerRetry}, {"c", "Cancel", kAnswerCancel}},
                2,
                kAnswerRetry,
                kAnswerCancel,
                kAnswerCancel};
    }
    return {{{"o", "OK", kAnswerOk}}, 1, kAnswerOk, kAnswerOk, kAnswerOk};
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The answer HALVANE_MESSAGEBOX forces, or false when it forces none.
bool ForcedAnswer(const SBox& box, EMessageBoxAnswer& answer)
{
    const char* value = std::getenv("HALVANE_MESSAGEBOX");
    if (value == nullptr)
        return false;
    const std::string forced = Lower(value);
    if (forced == "yes" || forced == "ok")
        answer = box.accept;
    else if (forced == "no")
        answer = box.no;
    else if (forced == "cancel")
        answer = box.decline;
    else
        return false;
    return true;
}

const char* NameOf(const SBox& box, EMessageBoxAnswer answer)
{
    for (int index = 0; index < box.count; ++index)
    {
        if (box.choices[index].answer == answer)
            return box.choices[index].name;
    }
    return "?";
}

// Asks on the terminal until a choice is typed; the safe answer at the end
// of input.
EMessageBoxAnswer AskOnTerminal(const SBox& box)
{
    std::string prompt;
    for (int index = 0; index < box.count; ++index)
    {
        if (index != 0)
            prompt += " / ";
        prompt += std::string(box.choices[index].name) + " (" + box.choices[index].key + ")";
    }
    prompt += "? ";

    for (;;)
    {
        std::fputs(prompt.c_str(), stderr);
        std::fflush(stderr);
        std::string line;
        int c = 0;
        while ((c = std::fgetc(stdin)) != EOF && c != '\n')
            line += static_cast<char>(c);
        if (c == EOF && line.empty())
        {
            std::fprintf(stderr, "\n-> %s\n", NameOf(box, box.decline));
            return box.decline;
        }
        const std::string typed = Lower(line);
        for (int index = 0; index < box.count; ++index)
        {
            const SChoice& choice = box.choices[index];
            if (typed == choice.key || typed == Lower(choice.name))
                return choice.answer;
        }
    }
}

} // namespace

EMessageBoxAnswer ShowMessageBox(std::string_view text, std::string_view caption, EMessageBoxButtons buttons)
{
    // What the program printed so far comes first, also when both streams
    // go to one pipe (standard output is buffered then).
    std::fflush(stdout);
    const SBox box = Describe(buttons);
    std::string shown;
    if (!caption.empty())
        shown += "[" + std::string(caption) + "] ";
    shown += text;
    shown += "\n";
    std::fputs(shown.c_str(), stderr);

    EMessageBoxAnswer answer = box.decline;
    if (ForcedAnswer(box, answer))
        std::fprintf(stderr, "-> %s\n", NameOf(box, answer));
    else if (::isatty(STDIN_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1)
        answer = AskOnTerminal(box);
    else
        std::fprintf(stderr, "-> %s\n", NameOf(box, answer));
    std::fflush(stderr);
    return answer;
}

} // namespace Platform
