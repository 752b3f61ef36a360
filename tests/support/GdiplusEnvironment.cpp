// GDI+ runs for the whole test program, as the application keeps it running for the
// launcher. Programs that draw with GDI+ compile this in (zv_test_gdiplus).
#include <gtest/gtest.h>

#include "imaging/GdiplusSession.h"

namespace {

class CGdiplusEnvironment : public testing::Environment {
public:
    void SetUp() override {
        m_session = StartGdiplus();
        ASSERT_TRUE(m_session) << "GDI+ did not start";
    }
    void TearDown() override { m_session.Close(); }

private:
    CGdiplusSession m_session;
};

const auto* const g_environment = testing::AddGlobalTestEnvironment(new CGdiplusEnvironment);

} // namespace
