#pragma once

#include <QObject>
#include <memory>
#include <vector>

namespace glyfora::app::testing {

using QtTestMaker = std::unique_ptr<QObject> (*)();

// The QTest classes linked into a test program, in link order; the test main runs each once.
inline std::vector<QtTestMaker>& RegisteredQtTests() {
    static std::vector<QtTestMaker> tests;
    return tests;
}

template <class Tests> bool RegisterQtTests() {
    RegisteredQtTests().push_back(
        []() -> std::unique_ptr<QObject> { return std::make_unique<Tests>(); });
    return true;
}

} // namespace glyfora::app::testing

// Registers the QTest class Tests (a QObject whose private slots are the tests) with the test main.
#define GLYFORA_QTEST(Tests)                                                                       \
    [[maybe_unused]] static const bool glyforaRegistered##Tests =                                  \
        ::glyfora::app::testing::RegisterQtTests<Tests>()
