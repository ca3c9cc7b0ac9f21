#include "grid_clipboard.h"

namespace morvane {

QList<QStringList> SplitPastedRows(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();
    const QLatin1Char separator(text.contains(QLatin1Char('\t')) ? '\t' : ',');
    QList<QStringList> rows;
    for (const QString& line : lines) {
        QStringList fields = line.split(separator);
        for (QString& field : fields)
            field = field.trimmed();
        rows.append(fields);
    }
    return rows;
}

std::optional<QString> PastedTag(const QString& field) {
    for (const QString& tag : {QStringLiteral("Abnormal"), QStringLiteral("Normal")}) {
        if (field.compare(tag, Qt::CaseInsensitive) == 0)
            return tag;
    }
    if (field.isEmpty())
        return QString();
    return std::nullopt;
}

QString JoinCopiedRows(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows)
        text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

} // namespace morvane
