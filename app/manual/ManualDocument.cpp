#include "app/manual/ManualDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace vantrel {

namespace {

constexpr int kResolution = 300;
// A window pixel takes a fifth of a millimetre on paper, unless that is wider
// than the text.
constexpr double kMillimetresPerPixel = 0.2;

struct Heading {
    int level;
    QString text;
    int page; // from 0, within the chapters
};

// The text face, without ligatures: "fi" and "ff" stay letters, so that the
// PDF's text can be searched and copied.
QFont textFont(int points) {
    QFont font(QStringLiteral("DejaVu Sans"), points);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

void setUp(QTextDocument& document, QPdfWriter& writer, QSizeF page) {
    document.documentLayout()->setPaintDevice(&writer);
    document.setDefaultFont(textFont(10));
    document.setPageSize(page);
    document.setDocumentMargin(0);
}

// Pictures at their size on paper, never wider than the text; a name the
// writer does not have stays an empty picture.
void placePictures(QTextDocument& document, const std::map<QString, QImage>& pictures,
                   double textWidth) {
    const double unitsPerPixel = kMillimetresPerPixel * kResolution / 25.4;
    for (const auto& [name, image] : pictures)
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const auto found = pictures.find(format.name());
            if (found == pictures.end())
                continue;
            // The layout takes picture sizes in pixels of a 96 dpi screen
            // and scales them to the writer's resolution.
            const double scale =
                std::min(unitsPerPixel, textWidth / found->second.width()) * 96 / kResolution;
            format.setWidth(found->second.width() * scale);
            format.setHeight(found->second.height() * scale);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

// Each chapter (a first-level heading) starts a page, and no picture is cut
// by a page's foot; returns the headings.
std::vector<Heading> paginate(QTextDocument& document) {
    std::vector<Heading> headings;
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 1 && block != document.begin()) {
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.setPosition(block.position());
            cursor.setBlockFormat(format);
        }
    }
    const double pageHeight = document.pageSize().height();
    // A picture that would cross the foot of a page starts the next one.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QRectF rect = document.documentLayout()->blockBoundingRect(block);
        const bool picture = block.text().contains(QChar::ObjectReplacementCharacter);
        if (picture && int(rect.top() / pageHeight) != int((rect.bottom() - 1) / pageHeight)) {
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.setPosition(block.position());
            cursor.setBlockFormat(format);
        }
    }
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 1 || level == 2) {
            const double top = document.documentLayout()->blockBoundingRect(block).top();
            headings.push_back({level, block.text(), int(top / pageHeight)});
        }
    }
    return headings;
}

QString contents(const QString& title, const QString& version, const std::vector<Heading>& headings,
                 int firstChapterPage) {
    QString html = QStringLiteral("<h1 style='font-size:24pt'>%1</h1><p>Version %2</p>"
                                  "<h2>Contents</h2><table width='100%' cellpadding='2'>")
                       .arg(title.toHtmlEscaped(), version.toHtmlEscaped());
    for (const Heading& h : headings) {
        const QString indent =
            h.level == 1 ? QString() : QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;");
        const QString weight = h.level == 1 ? QStringLiteral("bold") : QStringLiteral("normal");
        html +=
            QStringLiteral("<tr><td style='font-weight:%1'>%2%3</td><td align='right'>%4</td></tr>")
                .arg(weight, indent, h.text.toHtmlEscaped())
                .arg(firstChapterPage + h.page);
    }
    return html + QStringLiteral("</table>");
}

} // namespace

bool ManualDocument::write(const std::vector<QString>& chapters,
                           const std::map<QString, QImage>& pictures,
                           const QString& pdfPath) const {
    QPdfWriter writer(pdfPath);
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter);
    writer.setTitle(m_title);
    writer.setCreator(m_title);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;

    // The page's text area, less a line at its foot for the page number.
    const QRect area = writer.pageLayout().paintRectPixels(kResolution);
    const double footer = 10.0 * kResolution / 25.4;
    const QSizeF page(area.width(), area.height() - footer);

    QTextDocument body;
    setUp(body, writer, page);
    QString text;
    for (const QString& chapter : chapters)
        text += chapter + QStringLiteral("\n\n");
    body.setMarkdown(text);
    placePictures(body, pictures, page.width());
    const std::vector<Heading> headings = paginate(body);

    QTextDocument front;
    setUp(front, writer, page);
    // Page numbers of the chapters follow the front pages, counted from 1.
    front.setHtml(contents(m_title, m_version, headings, 1));
    const int frontPages = front.pageCount();
    front.setHtml(contents(m_title, m_version, headings, frontPages + 1));

    int number = 0;
    for (QTextDocument* document : {&front, &body}) {
        for (int p = 0; p < document->pageCount(); ++p) {
            if (number++ > 0)
                writer.newPage();
            painter.save();
            painter.translate(0, -p * page.height());
            document->drawContents(&painter,
                                   QRectF(0, p * page.height(), page.width(), page.height()));
            painter.restore();
            painter.setFont(textFont(9));
            painter.drawText(QRectF(0, page.height(), page.width(), footer), Qt::AlignCenter,
                             QString::number(number));
        }
    }
    return painter.end();
}

} // namespace vantrel
