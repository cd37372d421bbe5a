#pragma once
// The nice value the kernel schedules a thread of this process by, as /proc shows it (the
// 19th field of the task's stat line, after the parenthesised name).
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

inline int NiceOfTask(long tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 19; ++i)
        fields >> field;
    return std::stoi(field);
}

} // namespace testing_support
