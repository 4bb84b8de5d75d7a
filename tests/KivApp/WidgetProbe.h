#pragma once

#include <QColor>
#include <QImage>

class QWidget;

// Note for widget tests under GoogleTest: QVERIFY/QCOMPARE/QTRY_* only `return` on failure,
// so the gtest case passes silently. Wait with EXPECT_TRUE(QTest::qWaitFor(condition)) instead,
// and show a window with QTest::qWaitForWindowExposed before simulating the mouse over it.
namespace kiv::test {

// Returns `widget` rendered with its children over a backdrop of `backdrop`, so pixels the
// widget leaves unpainted show the backdrop.
QImage renderOn(QWidget& widget, const QColor& backdrop);

// Returns whether the pixel at (x, y) of `image` is `color` at 8 bits per channel.
bool hasColorAt(const QImage& image, int x, int y, const QColor& color);

// Counts the pixels of `color` inside `area` of `image` (the whole image when `area` is empty).
int pixelsOf(const QImage& image, const QColor& color, QRect area = {});

} // namespace kiv::test
