#pragma once

#include "platform/Prompt.h"

#include <benchmark/benchmark.h>

// Shows nothing. Yes/No questions are answered Yes when the benchmark expects them; any other box means the
// benchmark went wrong.
class BenchPrompt final : public Prompt {
public:
    enum class Questions { Unexpected, AnsweredYes };

    explicit BenchPrompt(benchmark::State& state, Questions questions = Questions::Unexpected)
        : state_(state), questions_(questions) {}

    PromptAnswer Show(const PromptMessage& message) override {
        const bool answersYes = questions_ == Questions::AnsweredYes;
        if (!answersYes || message.Buttons != PromptButtons::YesNo) {
            state_.SkipWithError(message.Text.c_str());
        }
        return answersYes ? PromptAnswer::Yes : PromptAnswer::Ok;
    }

private:
    benchmark::State& state_;
    Questions questions_;
};
