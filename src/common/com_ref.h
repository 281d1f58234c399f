#pragma once
#include <unknwn.h>

// Holds one reference to a COM object and releases it at destruction. Never copied.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef()
    {
        if (object)
            object->Release();
    }

    Interface* operator->() const { return object; }
    Interface* get() const { return object; }
    explicit operator bool() const { return object != nullptr; }

    // For the out-parameter of a call that hands over a new reference; only on an empty owner.
    Interface** put() { return &object; }
    void** putVoid() { return reinterpret_cast<void**>(&object); }

private:
    Interface* object = nullptr;
};
