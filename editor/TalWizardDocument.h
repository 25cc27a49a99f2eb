#pragma once
// CTalWizardDocument: the report content the wizard builds before any report
// window exists. The wizard edits its sections and pictures directly: no
// commands, no history, no windows to tell, so every notification stays the
// base's empty one.
#include "model/TalBaseDocument.h"

class CStructedWizard;

class CTalWizardDocument : public CTalBaseDocument {
public:
    explicit CTalWizardDocument(CStructedWizard* wizard = nullptr) : m_wizard(wizard) {}

    // The wizard that made it; null once the application has taken it over.
    CStructedWizard* GetWizard() const { return m_wizard; }
    void SetWizard(CStructedWizard* wizard) { m_wizard = wizard; }

    // The wizard knows no default page size of its own.
    bool GetDefaultPageSize(double&, double&) override { return false; }

private:
    CStructedWizard* m_wizard;
};
