#pragma once

#include "platform/Prompt.h"

#include <deque>
#include <stdexcept>
#include <vector>

// A Prompt that records every message and answers from a script (OK for OK boxes, then the scripted answers).
class RecordingPrompt final : public Prompt {
public:
    PromptAnswer Show(const PromptMessage& message) override {
        Shown.push_back(message);
        if (message.Buttons == PromptButtons::Ok) {
            return PromptAnswer::Ok;
        }
        if (Answers.empty()) {
            throw std::logic_error("RecordingPrompt: no scripted answer for \"" + message.Title + "\"");
        }
        const PromptAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::deque<PromptAnswer> Answers;
    std::vector<PromptMessage> Shown;
};
