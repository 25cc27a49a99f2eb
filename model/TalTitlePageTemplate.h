#pragma once
// CTalTitlePageTemplate: a template of the title page.
#include "model/TalTemplate.h"

class CTalTitlePageTemplate : public CTalTemplate {
public:
    CTalTitlePageTemplate() = default;
    ~CTalTitlePageTemplate() override;
};
