// System colours changed for one scope and put back afterwards.
#pragma once
#include <utility>
#include <vector>

#include <windows.h>

class CSysColorGuard {
public:
    explicit CSysColorGuard(std::vector<std::pair<int, COLORREF>> colours);
    ~CSysColorGuard();
    CSysColorGuard(const CSysColorGuard&) = delete;
    CSysColorGuard& operator=(const CSysColorGuard&) = delete;

private:
    std::vector<int> m_ids;
    std::vector<COLORREF> m_old;
};
