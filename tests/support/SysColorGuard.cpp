#include "tests/support/SysColorGuard.h"

CSysColorGuard::CSysColorGuard(std::vector<std::pair<int, COLORREF>> colours) {
    std::vector<COLORREF> values;
    for (const auto& [id, colour] : colours) {
        m_ids.push_back(id);
        m_old.push_back(GetSysColor(id));
        values.push_back(colour);
    }
    SetSysColors(static_cast<int>(m_ids.size()), m_ids.data(), values.data());
}

CSysColorGuard::~CSysColorGuard() {
    SetSysColors(static_cast<int>(m_ids.size()), m_ids.data(), m_old.data());
}
