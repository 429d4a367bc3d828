#pragma once

#include <QFile>
#include <QHash>

// The messages a user meets, written once in data/messages.txt and named by key, so that a
// wrong word in the program's own text cannot pass as the expectation. "%1" takes `detail`.
namespace gridloom::testing {

inline QString message(const char* key, const QString& detail = QString())
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> texts;
        QFile file(QStringLiteral(GRIDLOOM_TEST_DATA "/messages.txt"));
        for (file.open(QIODevice::ReadOnly | QIODevice::Text); !file.atEnd();) {
            const QString line = QString::fromUtf8(file.readLine()).chopped(1);
            texts.insert(line.section(u'\t', 0, 0), line.section(u'\t', 1));
        }
        return texts;
    }();
    const QString text = table.value(QString::fromUtf8(key));
    if (text.isEmpty())
        qFatal("no message %s", key);
    return detail.isNull() ? text : QString(text).replace(QStringLiteral("%1"), detail);
}

} // namespace gridloom::testing
