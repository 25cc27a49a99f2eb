#pragma once
// CTalPageTemplate: a template of the section pages.
#include "model/TalTemplate.h"

class CTalPageTemplate : public CTalTemplate {
public:
    CTalPageTemplate() = default;
    ~CTalPageTemplate() override;
};
