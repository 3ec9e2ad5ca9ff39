#pragma once
// QCOMPARE inside a loop over cases: a failure names the case beside the
// compared values, as a row of a _data table would.

#include <QByteArray>
#include <QString>
#include <QTest>

namespace k4r::testing {

[[nodiscard]] inline QByteArray CaseLabel(const QString& caseName, const char* expression) {
  return caseName.toUtf8() + ": " + expression;
}
[[nodiscard]] inline QByteArray CaseLabel(const char* caseName, const char* expression) {
  return CaseLabel(QString::fromUtf8(caseName), expression);
}

}  // namespace k4r::testing

// Fails and returns as QCOMPARE does; the actual value's line starts with
// `caseName` (a QString or a UTF-8 text).
#define K4R_CASE_COMPARE(caseName, actual, expected)                                                            \
  do {                                                                                                          \
    if (!QTest::qCompare(actual, expected, ::k4r::testing::CaseLabel(caseName, #actual).constData(), #expected, \
                         __FILE__, __LINE__)) {                                                                 \
      return;                                                                                                   \
    }                                                                                                           \
  } while (false)
