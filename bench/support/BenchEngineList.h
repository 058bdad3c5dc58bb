#pragma once

#include <random>
#include <string>

// A list file of `count` engines of realistic shape, about 100 bytes a line, the same bytes on every run.
inline std::string MakeEngineList(int count) {
    std::mt19937 random(42);
    std::string bytes;
    for (int i = 0; i < count; ++i) {
        bytes.append("PREFIX=e").append(std::to_string(i));
        bytes.append("\tURL=https://search").append(std::to_string(random() % 100000));
        bytes.append(".example.com/results/web/index.html?lang=en&safe=off&q=%s\r\n");
    }
    return bytes;
}
