#pragma once
// CTalItemUserData: the data of a section-tree item, a counted reference to
// the report object the item stands for. Made with a reference it takes a
// reference of its own; the last tree item to go releases it.
#include "controls/KWDBItemUserData.h"
#include "framework/KWRefPtr.h"
#include "model/TalObject.h"

class CTalItemUserData : public CKWDBItemUserData {
public:
    explicit CTalItemUserData(CTalObject* object);
    ~CTalItemUserData() override;

    CTalObject* GetReportObject() const { return m_object.Get(); }

private:
    CKWRefPtr<CTalObject> m_object;
};
