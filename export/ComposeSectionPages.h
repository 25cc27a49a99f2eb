#pragma once
// Section pages: a section of the report, then each of its child sections in
// turn, composed into export pages after the look of the section's page
// template (background, pictures in the picture cells, the text note in the
// text cells and areas, the heading, watermarks under and over the content).
#include <vector>

#include "export/TalPageExport.h"
#include "framework/KWRefPtr.h"

class CTalDocProperties;
class CTalSection;
class CTalWatermark;

// Appends the pages of the section and its subtree to pages. outline is the
// section's outline number (empty for the section the composition starts
// from). When marked is reached and firstPage is given, firstPage receives
// the 1-based number of the marked section's first page. Nothing is made for
// a null section or properties, nor for a section without a page template
// (nor its subtree).
void ComposeSectionPages(CKWRefPtr<CTalSection> section, TalPageList& pages,
                         const std::vector<CTalWatermark*>& watermarks, CTalDocProperties* properties,
                         std::vector<int> outline, CKWRefPtr<CTalSection> marked, int* firstPage,
                         bool printerSize);

// The heading of a section: with numbering on and an outline number, the
// numbers joined by "." and a blank, then the name.
CString MakeSectionHeading(const CString& name, const std::vector<int>& outline, bool numbering);
