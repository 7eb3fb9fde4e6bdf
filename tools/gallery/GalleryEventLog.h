#pragma once

#include <QHash>
#include <QPlainTextEdit>
#include <QStringList>

namespace gallery {

// The last few events of the controls on a page, one line each ("OnClick
// Panel1"), newest at the bottom. Mouse moves over the same control share one
// line, so they do not push the clicks out.
class GalleryEventLog : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit GalleryEventLog(QWidget *parent = nullptr, int lines = 6);

    // Logs the events of every skinned control inside root (those with the
    // shared control events), each named after its kind and number, in the
    // order they were made: Panel1, Panel2, Btn1 ... Handlers a page set
    // already still run.
    void watchAll(QWidget *root);
    // Logs the events of one control under the given name.
    void watch(QWidget *control, const QString &name);

    void log(const QString &event, const QString &name);
    QStringList lines() const { return m_lines; }

private:
    int m_maxLines;
    QStringList m_lines;
    QHash<QString, int> m_numbers;  // per kind, the last number given
};

} // namespace gallery
