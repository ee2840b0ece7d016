#include "engines/sets/EngineManager.h"

#include "engines/sets/EngineSet.h"

CEngineManager::~CEngineManager() {
  RemoveAll();
}

CEngineSet* CEngineManager::CreateFirstSet(CEngineList* database) {
  RemoveAll();
  CEngineSet* set = new CEngineSet(database, 1, CString());
  m_sets.AddTail(set);
  return set;
}

POSITION CEngineManager::AddSet(CEngineSet* set) {
  return m_sets.AddTail(set);
}

bool CEngineManager::RemoveSet(CEngineSet* set) {
  POSITION position = Find(set);
  if (!position) return false;
  m_sets.RemoveAt(position);
  delete set;
  return true;
}

void CEngineManager::RemoveAll() {
  while (!m_sets.IsEmpty()) delete m_sets.RemoveHead();
}

CEngineSet* CEngineManager::GetNextSet(CEngineSet* set) const {
  POSITION position = Find(set);
  if (!position) return set;
  m_sets.GetNext(position);
  return position ? m_sets.GetAt(position) : m_sets.GetHead();
}

CEngineSet* CEngineManager::GetPrevSet(CEngineSet* set) const {
  POSITION position = Find(set);
  if (!position) return set;
  m_sets.GetPrev(position);
  return position ? m_sets.GetAt(position) : m_sets.GetTail();
}

POSITION CEngineManager::MoveSet(CEngineSet* before, CEngineSet* set) {
  POSITION beforePosition = Find(before);
  POSITION setPosition = Find(set);
  if (!beforePosition || !setPosition) return nullptr;
  if (before == set) return setPosition;
  m_sets.RemoveAt(setPosition);
  return m_sets.InsertBefore(beforePosition, set);
}

int CEngineManager::CountActive() const {
  int count = 0;
  for (POSITION position = m_sets.GetHeadPosition(); position;)
    if (m_sets.GetNext(position)->m_active) ++count;
  return count;
}
