#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

enum class PromptIcon { Information, Question, Exclamation, Critical };
enum class PromptButtons { Ok, YesNo }; // with Yes and No, Yes is the default button
enum class PromptAnswer { Ok, Yes, No };

// One modal message box. The text is lines joined by CR LF, in the system's 8-bit encoding.
struct PromptMessage {
    std::string Title;
    std::string Text;
    PromptIcon Icon = PromptIcon::Information;
    PromptButtons Buttons = PromptButtons::Ok;

    bool operator==(const PromptMessage&) const = default;
};

// Shows message boxes to the user: a real message box in the program, a scripted recorder in tests.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer Show(const PromptMessage& message) = 0;
};

// Joins lines with CR LF, the line break of every message text.
std::string JoinLines(std::initializer_list<std::string_view> lines);
