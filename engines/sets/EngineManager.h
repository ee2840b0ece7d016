// CEngineManager: the document's engine sets, one per search term, in the order the user gave
// them. The manager owns its sets.
#pragma once

#include <cstdint>

#include "framework/collections/List.h"
#include "framework/core/String.h"

class CEngineList;
class CEngineSet;

class CEngineManager {
 public:
  CEngineManager() = default;
  virtual ~CEngineManager();
  CEngineManager(const CEngineManager&) = delete;
  CEngineManager& operator=(const CEngineManager&) = delete;

  // Deletes every set, then appends one new active set without a name over the database.
  CEngineSet* CreateFirstSet(CEngineList* database);
  // Appends a set and takes it over.
  POSITION AddSet(CEngineSet* set);
  // Takes the set out of the list and deletes it; false when it is not in the list.
  bool RemoveSet(CEngineSet* set);
  void RemoveAll();

  // Both wrap around; a set that is not in the list is given back unchanged.
  CEngineSet* GetNextSet(CEngineSet* set) const;
  CEngineSet* GetPrevSet(CEngineSet* set) const;
  // Puts set directly before `before`; its new position, or null when either is not in the list.
  POSITION MoveSet(CEngineSet* before, CEngineSet* set);

  int CountActive() const;
  int GetCount() const { return static_cast<int>(m_sets.GetCount()); }
  CEngineSet* GetFirstSet() const { return m_sets.IsEmpty() ? nullptr : m_sets.GetHead(); }
  POSITION GetHeadPosition() const { return m_sets.GetHeadPosition(); }
  CEngineSet* GetNext(POSITION& position) const { return m_sets.GetNext(position); }
  POSITION Find(CEngineSet* set) const { return set ? m_sets.Find(set) : nullptr; }

 private:
  CList<CEngineSet*, CEngineSet*> m_sets;
};
