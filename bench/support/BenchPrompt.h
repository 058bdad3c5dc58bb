#pragma once

#include "platform/Prompt.h"

#include <benchmark/benchmark.h>

// Shows nothing. Answers Yes to a Yes/No question, or takes an information box as read, when the benchmark
// expects one; any other box means the benchmark went wrong.
class BenchPrompt final : public Prompt {
public:
    enum class Expects { Nothing, YesNoQuestion, Information };

    explicit BenchPrompt(benchmark::State& state, Expects expects = Expects::Nothing)
        : state_(state), expects_(expects) {}

    PromptAnswer Show(const PromptMessage& message) override {
        if (expects_ == Expects::YesNoQuestion && message.Buttons == PromptButtons::YesNo) {
            return PromptAnswer::Yes;
        }
        if (expects_ == Expects::Information && message.Icon == PromptIcon::Information &&
            message.Buttons == PromptButtons::Ok) {
            return PromptAnswer::Ok;
        }
        state_.SkipWithError(message.Text.c_str());
        return PromptAnswer::Ok;
    }

private:
    benchmark::State& state_;
    Expects expects_;
};
