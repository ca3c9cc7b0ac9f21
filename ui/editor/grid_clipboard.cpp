#include "grid_clipboard.h"

#include "calibration_records.h"
#include "grid_feedback.h"

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
    if (field == QLatin1String("0") || field == QLatin1String("1"))
        return field == QLatin1String("0") ? QStringLiteral("Abnormal") : QStringLiteral("Normal");
    if (field.isEmpty())
        return QString();
    return std::nullopt;
}

std::optional<QString> PasteRefusal(const QList<QStringList>& rows, int firstRow, int firstCol) {
    // A time that is zero or negative is still a number: it is pasted, and shown in red.
    for (qsizetype i = 0; i < rows.size() && firstRow + i <= kMaxSamples; ++i) {
        for (qsizetype j = 0; j < rows[i].size(); ++j) {
            const qsizetype col = firstCol + j;
            const std::string field = rows[i][j].toStdString();
            const PTTextProblem problem = JudgePTText(field);
            if ((col != 2 && col != 3) ||
                (problem != PTTextProblem::DecimalComma && problem != PTTextProblem::NotANumber))
                continue;
            return QStringLiteral("Row %1, %2: ")
                .arg(firstRow + i)
                .arg(QLatin1Char(col == 2 ? 'y' : 'x'))
                .append(QString::fromStdString(PTTextProblemText(field, problem)));
        }
    }
    return std::nullopt;
}

QString JoinCopiedRows(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows)
        text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return text;
}

} // namespace morvane
