#pragma once

#include <QImage>
#include <QString>

#include <map>
#include <vector>

namespace vantrel {

// The user manual as an A4 PDF: a title page with the contents and their page
// numbers, then the chapters (Markdown, one per text, each from a new page)
// with the named pictures where the text shows them, and page numbers below.
class ManualDocument final {
public:
    ManualDocument(QString title, QString version)
        : m_title(std::move(title)), m_version(std::move(version)) {}

    // Pictures are named in the text as ![what it shows](name).
    bool write(const std::vector<QString>& chapters, const std::map<QString, QImage>& pictures,
               const QString& pdfPath) const;

private:
    QString m_title;
    QString m_version;
};

} // namespace vantrel
