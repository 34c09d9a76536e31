#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QTest>
#include <QWidget>

namespace typeloom::test {

// The child widget of that object name; a test failure when there is none.
template <class T>
T* child(QWidget& parent, const char* name) {
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Clicks the named button as a user would.
inline void click(QWidget& parent, const char* name) {
    auto* button = child<QAbstractButton>(parent, name);
    ASSERT_NE(button, nullptr);
    // Radios and check boxes take clicks only on their indicator and text, which may be
    // narrower than the widget: click near the indicator.
    const bool indicator = button->isCheckable() && qobject_cast<QPushButton*>(button) == nullptr;
    QTest::mouseClick(button, Qt::LeftButton, {},
                      indicator ? QPoint(6, button->height() / 2) : button->rect().center());
}

}  // namespace typeloom::test
