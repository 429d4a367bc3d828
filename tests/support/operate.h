#pragma once

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTest>

namespace gridloom::testing {

/// Works the controls as a user does, one step each: "Name" clicks a button, "Name=text"
/// sets a date picker to an ISO date, picks an item of a drop-down box, or clears a text field
/// and types the text into it.
inline void operate(QWidget& parent, const QStringList& steps)
{
    for (const QString& step : steps) {
        auto* widget = parent.findChild<QWidget*>(step.section(QLatin1Char('='), 0, 0));
        QVERIFY2(widget, qPrintable(step));
        const QString text = step.section(QLatin1Char('='), 1);
        if (auto* date = qobject_cast<QDateTimeEdit*>(widget)) {
            date->setDate(QDate::fromString(text, Qt::ISODate));
        } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
            box->setCurrentText(text);
        } else if (auto* field = qobject_cast<QLineEdit*>(widget)) {
            field->setFocus();
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Backspace);
            // The key simulation spells out only ASCII; other letters arrive as typed text.
            for (const QChar c : text) {
                if (c.unicode() < 0x80)
                    QTest::keyClick(field, c.toLatin1());
                else
                    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), {});
            }
            QCOMPARE(field->text(), text);
        } else {
            QTest::mouseClick(widget, Qt::LeftButton);
        }
    }
}

} // namespace gridloom::testing
