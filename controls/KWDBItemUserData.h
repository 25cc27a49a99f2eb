#pragma once
// CKWDBItemUserData: the base of the object a tree item carries as its data.
// The tree owns the object and deletes it through this base; a reader finds
// its own kind by a dynamic cast.
class CKWDBItemUserData {
public:
    virtual ~CKWDBItemUserData() = default;
};
