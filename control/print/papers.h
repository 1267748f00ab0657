#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>

// The display names of the platform's paper size codes ("A4, 210 x 297 mm") and of the two
// orientations, 1 portrait and 2 landscape; the empty text for any other code.
QString PaperSizeName(int code);
QString OrientationName(int code);

// Paper size codes and Qt's page sizes, both ways; an unknown code gives an invalid size, a
// size without a code 256 ("User-defined").
QPageSize PageSizeOfCode(int code);
int PaperCodeOf(const QPageSize &size);
QPageLayout::Orientation OrientationOfCode(int code);
int OrientationCodeOf(QPageLayout::Orientation orientation);

// What the pages are printed on: a printer, or the pages of a PDF file. Its paper size and
// orientation take the stored codes; its printable area and resolution shape the layout.
class PrintTarget
{
public:
    virtual ~PrintTarget() = default;
    virtual void setPaperSize(int code) = 0;
    virtual void setOrientation(int code) = 0;
    virtual int paperSize() const = 0;
    virtual int orientation() const = 0;
    // The part of the page that can be printed on, in twips; its top-left corner is the origin
    // of the page's drawing.
    virtual QSizeF printableTwips() const = 0;
    // Dots per inch.
    virtual int resolution() const = 0;
};

// The stored paper size and orientation applied to target: a numeric paper size is set, a
// numeric orientation too, any other orientation is landscape.
class PrintSettings;
void ApplyStoredPaper(const PrintSettings &settings, PrintTarget &target);

// The pages of a PDF file: a page layout without margins of its own (the print settings have
// them), landscape A4 until told otherwise.
class PageLayoutTarget : public PrintTarget
{
public:
    static constexpr int kPdfResolution = 1200;

    explicit PageLayoutTarget(QPageLayout layout = QPageLayout(QPageSize(QPageSize::A4),
                                                               QPageLayout::Landscape, QMarginsF()))
        : m_layout(std::move(layout))
    {
    }
    void setPaperSize(int code) override;
    void setOrientation(int code) override;
    int paperSize() const override { return PaperCodeOf(m_layout.pageSize()); }
    int orientation() const override { return OrientationCodeOf(m_layout.orientation()); }
    QSizeF printableTwips() const override;
    int resolution() const override { return kPdfResolution; }
    const QPageLayout &layout() const { return m_layout; }

private:
    QPageLayout m_layout;
};
