// Run-time class information: the class name and base of a framework or
// module class, and its creation from that information where it allows it.
//
// Classes and macros in this file:
//   CRuntimeClass                          name, base, optional factory
//   CObject                                root of the window classes
//   DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC    run-time class name
//   DECLARE_DYNCREATE / IMPLEMENT_DYNCREATE   ... and creation by class
//   RUNTIME_CLASS(class)                   the class's CRuntimeClass
//
// The static member is always called s_runtimeClass so that a qualified name
// (fw::CPropertySheet) can be given to RUNTIME_CLASS and IMPLEMENT_DYNAMIC.
#ifndef SETUP_FRAMEWORK_OBJECT_H
#define SETUP_FRAMEWORK_OBJECT_H

#include "framework/winapi.h"

namespace fw {

class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;
    CObject* (*m_pfnCreateObject)();  // nullptr: no creation by class

    bool IsDerivedFrom(const CRuntimeClass* base) const;
    // A new object of the class, or nullptr when the class does not allow it.
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

class CObject {
public:
    static const CRuntimeClass s_runtimeClass;

    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;

    virtual const CRuntimeClass* GetRuntimeClass() const { return &s_runtimeClass; }
    bool IsKindOf(const CRuntimeClass* runtimeClass) const {
        return GetRuntimeClass()->IsDerivedFrom(runtimeClass);
    }
};

inline const CRuntimeClass CObject::s_runtimeClass = {"CObject", nullptr, nullptr};

inline bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
        if (c == base) {
            return true;
        }
    }
    return false;
}

}  // namespace fw

#define RUNTIME_CLASS(class_name) (&class_name::s_runtimeClass)

#define DECLARE_DYNAMIC(class_name)                  \
public:                                              \
    static const ::fw::CRuntimeClass s_runtimeClass; \
    const ::fw::CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)               \
    const ::fw::CRuntimeClass class_name::s_runtimeClass = {         \
        #class_name, RUNTIME_CLASS(base_class_name), nullptr};       \
    const ::fw::CRuntimeClass* class_name::GetRuntimeClass() const { \
        return &class_name::s_runtimeClass;                          \
    }

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static ::fw::CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                         \
    ::fw::CObject* class_name::CreateObject() {                                  \
        return new class_name;                                                   \
    }                                                                            \
    const ::fw::CRuntimeClass class_name::s_runtimeClass = {                     \
        #class_name, RUNTIME_CLASS(base_class_name), &class_name::CreateObject}; \
    const ::fw::CRuntimeClass* class_name::GetRuntimeClass() const {             \
        return &class_name::s_runtimeClass;                                      \
    }

#endif
