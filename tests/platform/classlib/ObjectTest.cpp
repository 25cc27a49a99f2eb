#include "platform/classlib/Exception.h"
#include "platform/classlib/Object.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)
public:
    int radius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CStoredCircle : public CCircle {
    DECLARE_SERIAL(CStoredCircle)
protected:
    CStoredCircle() = default;  // creation by class reaches a protected constructor
};
IMPLEMENT_SERIAL(CStoredCircle, CCircle, VERSIONABLE_SCHEMA | 2)

}  // namespace

TEST(CRuntimeClass, KindTestsFollowTheBaseChain) {
    CCircle circle;
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CStoredCircle)));
    EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_STREQ("CCircle", circle.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CCircle)), circle.GetRuntimeClass()->m_nObjectSize);

    CObject* object = &circle;
    EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CShape, object));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CStoredCircle, object));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CShape, static_cast<CObject*>(nullptr)));
}

TEST(CRuntimeClass, CreationByClass) {
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CShape)->CreateObject()) << "a dynamic-only class is not creatable";

    std::unique_ptr<CObject> made(RUNTIME_CLASS(CCircle)->CreateObject());
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(RUNTIME_CLASS(CCircle), made->GetRuntimeClass());
    EXPECT_EQ(7, static_cast<CCircle*>(made.get())->radius);

    std::unique_ptr<CObject> stored(RUNTIME_CLASS(CStoredCircle)->CreateObject());
    ASSERT_NE(nullptr, stored);
    EXPECT_TRUE(stored->IsKindOf(RUNTIME_CLASS(CCircle)));
}

TEST(CRuntimeClass, SerialClassesAreListedBeforeMainAndFoundByName) {
    EXPECT_EQ(RUNTIME_CLASS(CStoredCircle), CRuntimeClass::FromName("CStoredCircle"));
    EXPECT_EQ(RUNTIME_CLASS(CStoredCircle), CRuntimeClass::FromName(L"CStoredCircle"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CCircle")) << "only serializable classes are listed";
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(L"CStored\u00e9Circle"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(static_cast<LPCSTR>(nullptr)));

    std::unique_ptr<CObject> byName(CRuntimeClass::CreateObject(L"CStoredCircle"));
    ASSERT_NE(nullptr, byName);
    EXPECT_EQ(RUNTIME_CLASS(CStoredCircle), byName->GetRuntimeClass());
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("NoSuchClass"));
}

TEST(CRuntimeClass, SchemaMarksSerializableClasses) {
    CCircle circle;
    EXPECT_FALSE(circle.IsSerializable());
    std::unique_ptr<CObject> stored(RUNTIME_CLASS(CStoredCircle)->CreateObject());
    EXPECT_TRUE(stored->IsSerializable());
    EXPECT_EQ(VERSIONABLE_SCHEMA | 2, RUNTIME_CLASS(CStoredCircle)->m_wSchema);
}

TEST(CException, ThrownAsPointersAndDeletedByTheHandler) {
    int cause = -1;
    try {
        AfxThrowArchiveException(CArchiveException::badIndex, L"layout");
    } catch (CException* e) {
        ASSERT_TRUE(e->IsKindOf(RUNTIME_CLASS(CArchiveException)));
        auto* archive = static_cast<CArchiveException*>(e);
        cause = archive->m_cause;
        EXPECT_STREQ(L"layout", archive->m_strFileName);
        e->Delete();
    }
    EXPECT_EQ(CArchiveException::badIndex, cause);

    bool caught = false;
    try {
        AfxThrowResourceException();
    } catch (CResourceException* e) {
        caught = true;
        e->Delete();
    }
    EXPECT_TRUE(caught);

    // An exception object on the stack is not freed by Delete.
    CException onStack(FALSE);
    onStack.Delete();
    EXPECT_TRUE(onStack.IsKindOf(RUNTIME_CLASS(CException)));
}
