#pragma once
// Contents pages: every section of the report tree by name, indented by depth,
// measured with the report's contents font so that long names wrap and the
// entries flow onto further pages. Geometry in page fractions: entries lie
// between 0.1 and 0.9 of the page height; depth d starts at 0.25 + 0.05 d and
// ends at 0.95; depth is capped at 6.
#include <unordered_map>

#include "export/TalPageExport.h"
#include "framework/KWFont.h"
#include "framework/KWRefPtr.h"

class CTalDocProperties;
class CTalSection;
class CTalTextFormat;
class IKWGraphics;

constexpr int kContentsMaxDepth = 6;
constexpr double kContentsTop = 0.1;
constexpr double kContentsBottom = 0.9;

// The contents font on one measuring surface, with the page size in pixels.
class CTalContentsLayout {
public:
    CTalContentsLayout(IKWGraphics& surface, CTalDocProperties& properties, double pageWidthPixels,
                       double pageHeightPixels);
    CTalContentsLayout(const CTalContentsLayout&) = delete;
    CTalContentsLayout& operator=(const CTalContentsLayout&) = delete;

    // The height of the section's subtree in the contents (page fraction):
    // two line heights per section.
    double MeasureHeight(const CTalSection* section) const;
    // Appends the entries of the subtree to the last page of pages (a new
    // contents page when one is full).
    void ComposeEntries(const CTalSection* section, TalPageList& pages, int depth, double totalHeight);

    // Sum of the character widths of the name (at most 256) as a page fraction.
    double MeasureWidth(const CString& name);
    double GetLineHeight() const { return m_lineHeight; }

private:
    IKWGraphics& m_surface;
    const CTalTextFormat* m_format;
    CKWFont m_font;
    double m_lineHeight = 0;  // pixels: ascent + descent + line gap
    double m_pageWidth;
    double m_pageHeight;
    std::unordered_map<wchar_t, double> m_widths;  // one font, so one width per character
};

// Appends one or more contents pages for the tree under the heading section.
void ComposeContentsPage(CTalDocProperties* properties, CKWRefPtr<CTalSection> heading, TalPageList& pages,
                         bool printerSize);

double MeasureContentsHeight(IKWGraphics& surface, const CTalSection* section, CTalDocProperties& properties,
                             double pageWidthPixels, double pageHeightPixels);
void ComposeContentsEntries(CTalDocProperties& properties, const CTalSection* section, TalPageList& pages,
                            IKWGraphics& surface, int depth, double pageWidthPixels, double pageHeightPixels,
                            double totalHeight);
