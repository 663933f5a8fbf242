// bandora_manual_pdf OUTPUT.pdf CHAPTER.md...
//
// Joins the chapters of the manual in the order given and renders them to an
// A4 PDF, so the help document always matches the Markdown kept with the
// code. Needs a Qt platform; the build runs it on the offscreen one.

#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cstdio>

namespace {

int Fail(const QString& message)
{
    std::fprintf(stderr, "bandora_manual_pdf: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    if (args.size() < 2)
        return Fail(QStringLiteral("usage: bandora_manual_pdf OUTPUT.pdf CHAPTER.md..."));

    QString markdown;
    for (const QString& chapter : args.mid(1)) {
        QFile file(chapter);
        if (!file.open(QIODevice::ReadOnly))
            return Fail(QStringLiteral("cannot read %1").arg(chapter));
        markdown += QString::fromUtf8(file.readAll());
        markdown += QStringLiteral("\n\n");
    }

    const QString output = args.first();
    QPdfWriter writer(output);
    writer.setTitle(QStringLiteral("Bandora acquisition software: manual"));
    writer.setCreator(QStringLiteral("Bandora"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 18, 20, 18),
                                     QPageLayout::Millimeter));

    // Laid out on the writer itself, so font sizes in points and the page
    // width agree; laid out on the (virtual) screen the text would fill only
    // part of the page.
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setPageSize(writer.pageLayout().paintRectPixels(writer.resolution()).size());
    // The manual is plain Markdown: texts such as "<Enter>" or the window
    // title "<Bandora> ..." are words, not HTML tags.
    document.setMarkdown(markdown, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                                   QTextDocument::MarkdownNoHTML));
    // Tables get room around their text and a thin rule.
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setCellPadding(6);
            format.setCellSpacing(0);
            format.setBorder(1);
            format.setBorderCollapse(true);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            table->setFormat(format);
        }
    }
    document.print(&writer);

    QFile check(output);
    if (!check.exists() || check.size() == 0)
        return Fail(QStringLiteral("nothing written to %1").arg(output));
    return 0;
}
