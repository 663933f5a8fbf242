#pragma once

// What the operator does to a box or a list, as the window's own slots see it.

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>

#include <gtest/gtest.h>

namespace bandora::test {

// A control of a window found by its object name, as a script finds it.
template <typename W>
W* Child(const QObject& window, const char* name)
{
    W* found = window.findChild<W*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Types a whole value and leaves the box.
inline void Type(QLineEdit* box, const QString& text)
{
    box->setText(text);
    Q_EMIT box->editingFinished();
}

// Picks an item of a drop-down list by its text.
inline void Choose(QComboBox* box, const QString& text)
{
    const int i = box->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    box->setCurrentIndex(i);
    Q_EMIT box->activated(i);
}

inline void PressEnter(QWidget* w)
{
    QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline QStringList Items(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

inline QStringList Items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace bandora::test
