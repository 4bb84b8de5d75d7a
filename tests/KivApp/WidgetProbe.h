#pragma once

#include <QColor>
#include <QImage>

// Note for widget tests under GoogleTest: QVERIFY/QCOMPARE/QTRY_* only `return` on failure,
// so the gtest case passes silently. Wait with EXPECT_TRUE(QTest::qWaitFor(condition)) instead,
// and show a window with QTest::qWaitForWindowExposed before simulating the mouse over it.
namespace kiv::test {

// Counts the pixels of `color` (at 8 bits per channel) inside `area` of `image`, or in the whole
// image when `area` is empty.
int pixelsOf(const QImage& image, const QColor& color, QRect area = {});

} // namespace kiv::test
