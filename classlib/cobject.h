#pragma once
// The root object class with run-time class information: the least of a class
// library that the file-type record needs.

class CObject;
class CArchive;

struct CRuntimeClass {
  const char* class_name;
  int object_size;
  unsigned int schema;  // 0xFFFF: not serializable
  CObject* (*create_object)();
  const CRuntimeClass* base_class;

  bool IsDerivedFrom(const CRuntimeClass* other) const;
};

class CObject {
 public:
  static const CRuntimeClass classCObject;

  // Slot order of the virtual table: class query, destructor, archive.
  virtual const CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;
  virtual void Serialize(CArchive& archive);

  bool IsKindOf(const CRuntimeClass* wanted) const;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};
