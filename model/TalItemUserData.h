#pragma once
// CTalItemUserData: the data of a section-tree item, a counted reference to
// the report object the item stands for.
#include "framework/KWRefPtr.h"
#include "model/TalObject.h"
#include "platform/classlib/Object.h"

class CTalItemUserData : public CObject {
    DECLARE_DYNAMIC(CTalItemUserData)
public:
    explicit CTalItemUserData(CTalObject* object);
    ~CTalItemUserData() override;

    CTalObject* GetReportObject() const { return m_object.Get(); }

private:
    CKWRefPtr<CTalObject> m_object;
};
