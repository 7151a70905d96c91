// Cached per-character metrics and the estimate of a text's size built from them.
#include "TextMetrics.h"

#include "Utf8.h"

TextMetrics::TextMetrics(wxDC& dc, const wxFont& font) : m_dc(dc), m_font(font), m_basicPlane(0x10000)
{
    m_dc.SetFont(m_font);
    m_emptyLineHeight = m_dc.GetMultiLineTextExtent(wxString()).y;
    m_tabularDigits = true;
    for (char32_t c = '1'; c <= '9'; ++c)
        m_tabularDigits = m_tabularDigits && Of(c).advance == Of('0').advance;
}

TextMetrics::Glyph TextMetrics::MeasureGlyph(char32_t c)
{
    // Sixteen copies measure the advance to a sixteenth of a pixel.
    constexpr int kCopies = 16;
    const wxString text(wxUniChar(static_cast<unsigned>(c)), kCopies);
    wxCoord width = 0, height = 0;
    m_dc.GetTextExtent(text, &width, &height);
    return {static_cast<double>(width) / kCopies, height};
}

const TextMetrics::Glyph& TextMetrics::Measured(char32_t c)
{
    if (c < m_basicPlane.size()) {
        Glyph& glyph = m_basicPlane[c];
        if (glyph.height < 0) {
            m_dc.SetFont(m_font);
            glyph = MeasureGlyph(c);
        }
        return glyph;
    }
    const auto known = m_others.find(c);
    if (known != m_others.end())
        return known->second;
    m_dc.SetFont(m_font);
    return m_others.emplace(c, MeasureGlyph(c)).first->second;
}

wxSize TextMetrics::Measure(const wxString& text)
{
    m_dc.SetFont(m_font);
    return m_dc.GetMultiLineTextExtent(text);
}


TextEstimate EstimateText(TextMetrics& metrics, const unsigned char* text, std::size_t size)
{
    TextEstimate estimate;
    if (size == 0) {
        estimate.height = metrics.EmptyLineHeight();
        return estimate;
    }
    double lineWidth = 0;
    int lineHeight = 0;       // of the current line, 0 while it is empty
    int lastLineHeight = 0;   // of the last line that had text
    int emptyLineHeight = 0;  // fixed by the first empty line, as the toolkit does
    auto endLine = [&] {
        if (lineHeight == 0) {
            if (emptyLineHeight == 0)
                emptyLineHeight = lastLineHeight != 0 ? lastLineHeight : metrics.EmptyLineHeight();
            estimate.height += emptyLineHeight;
        } else {
            estimate.height += lineHeight;
            lastLineHeight = lineHeight;
        }
        if (lineWidth > estimate.width)
            estimate.width = lineWidth;
        lineWidth = 0;
        lineHeight = 0;
    };
    std::size_t i = 0;
    while (i < size) {
        const char32_t c = text[i] < 0x80 ? text[i++] : NextCodePoint(text, size, i);
        if (c == '\n') {
            endLine();
            continue;
        }
        if (c < 0x20 || c == 0x7F)
            estimate.exactOnly = true;
        const TextMetrics::Glyph& glyph = metrics.Of(c);
        lineWidth += glyph.advance;
        if (glyph.height > lineHeight)
            lineHeight = glyph.height;
    }
    endLine();
    return estimate;
}
