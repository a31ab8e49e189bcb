#pragma once
// Holds a "filling controls from the model" flag for one scope and gives it
// back as it was, even when the filling raises or the scopes nest.

class TUpdatingScope {
public:
    explicit TUpdatingScope(bool& AFlag)
        : FFlag(AFlag), FOld(AFlag)
    {
        FFlag = true;
    }
    ~TUpdatingScope() { FFlag = FOld; }
    void Release() { FFlag = FOld; }

    TUpdatingScope(const TUpdatingScope&) = delete;
    TUpdatingScope& operator=(const TUpdatingScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};
