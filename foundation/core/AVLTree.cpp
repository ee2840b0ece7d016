#include "foundation/core/AVLTree.h"

#include <new>

int AVLTree::HeightOf(const AVLNode* node) {
  if (!node) return 0;
  int l = HeightOf(node->m_left), r = HeightOf(node->m_right);
  return 1 + (l > r ? l : r);
}

bool AVLTree::Insert(AVLItem* item) {
  if (!item) return false;
  m_inserted = false;
  m_heightChanged = false;
  InsertAt(m_root, item, item->GetKey());
  if (m_inserted) ++m_count;
  return m_inserted;
}

void AVLTree::InsertAt(AVLNode*& p, AVLItem* item, const CLibString& key) {
  if (!p) {
    p = new (std::nothrow) AVLNode(item);
    m_heightChanged = m_inserted = p != nullptr;
    return;
  }
  const CLibString& nodeKey = p->m_item->GetKey();
  if (nodeKey == key) {
    m_heightChanged = false;
    return;
  }
  if (nodeKey > key) {
    InsertAt(p->m_left, item, key);
    if (!m_heightChanged) return;
    if (p->m_balance == kRightHigh) {
      p->m_balance = kBalanced;
      m_heightChanged = false;
    } else if (p->m_balance == kBalanced) {
      p->m_balance = kLeftHigh;
    } else {
      AVLNode* l = p->m_left;
      if (l->m_balance == kLeftHigh) {  // single right rotation
        p->m_left = l->m_right;
        l->m_right = p;
        p->m_balance = kBalanced;
        p = l;
      } else {  // left-right double rotation
        AVLNode* m = l->m_right;
        l->m_right = m->m_left;
        m->m_left = l;
        p->m_left = m->m_right;
        m->m_right = p;
        p->m_balance = m->m_balance == kLeftHigh ? kRightHigh : kBalanced;
        l->m_balance = m->m_balance == kRightHigh ? kLeftHigh : kBalanced;
        p = m;
      }
      p->m_balance = kBalanced;
      m_heightChanged = false;
    }
  } else {
    InsertAt(p->m_right, item, key);
    if (!m_heightChanged) return;
    if (p->m_balance == kLeftHigh) {
      p->m_balance = kBalanced;
      m_heightChanged = false;
    } else if (p->m_balance == kBalanced) {
      p->m_balance = kRightHigh;
    } else {
      AVLNode* r = p->m_right;
      if (r->m_balance == kRightHigh) {  // single left rotation
        p->m_right = r->m_left;
        r->m_left = p;
        p->m_balance = kBalanced;
        p = r;
      } else {  // right-left double rotation
        AVLNode* m = r->m_left;
        r->m_left = m->m_right;
        m->m_right = r;
        p->m_right = m->m_left;
        m->m_left = p;
        p->m_balance = m->m_balance == kRightHigh ? kLeftHigh : kBalanced;
        r->m_balance = m->m_balance == kLeftHigh ? kRightHigh : kBalanced;
        p = m;
      }
      p->m_balance = kBalanced;
      m_heightChanged = false;
    }
  }
}

AVLItem* AVLTree::Find(const CLibString& key) const {
  AVLNode* p = m_root;
  while (p) {
    const CLibString& nodeKey = p->m_item->GetKey();
    if (nodeKey == key) return p->m_item;
    p = nodeKey > key ? p->m_left : p->m_right;
  }
  return nullptr;
}

AVLItem* AVLTree::Remove(const CLibString& key) {
  m_removed = nullptr;
  m_heightChanged = false;
  RemoveAt(m_root, key);
  if (m_removed) --m_count;
  return m_removed;
}

void AVLTree::RemoveAt(AVLNode*& p, const CLibString& key) {
  if (!p) {
    m_heightChanged = false;
    return;
  }
  const CLibString& nodeKey = p->m_item->GetKey();
  if (nodeKey > key) {
    RemoveAt(p->m_left, key);
    if (m_heightChanged) LeftShrunk(p);
  } else if (nodeKey < key) {
    RemoveAt(p->m_right, key);
    if (m_heightChanged) RightShrunk(p);
  } else {
    m_removed = p->m_item;
    if (!p->m_left || !p->m_right) {
      AVLNode* gone = p;
      p = p->m_left ? p->m_left : p->m_right;
      delete gone;
      m_heightChanged = true;
    } else {
      // Two children: the in-order predecessor's item moves up and its node goes instead.
      RemoveRightmost(p->m_left, p->m_item);
      if (m_heightChanged) LeftShrunk(p);
    }
  }
}

void AVLTree::RemoveRightmost(AVLNode*& p, AVLItem*& item) {
  if (p->m_right) {
    RemoveRightmost(p->m_right, item);
    if (m_heightChanged) RightShrunk(p);
  } else {
    item = p->m_item;
    AVLNode* gone = p;
    p = p->m_left;
    delete gone;
    m_heightChanged = true;
  }
}

// The left subtree of p became one lower.
void AVLTree::LeftShrunk(AVLNode*& p) {
  if (p->m_balance == kLeftHigh) {
    p->m_balance = kBalanced;
  } else if (p->m_balance == kBalanced) {
    p->m_balance = kRightHigh;
    m_heightChanged = false;
  } else {
    AVLNode* r = p->m_right;
    if (r->m_balance != kLeftHigh) {  // single left rotation
      p->m_right = r->m_left;
      r->m_left = p;
      if (r->m_balance == kBalanced) {
        p->m_balance = kRightHigh;
        r->m_balance = kLeftHigh;
        m_heightChanged = false;
      } else {
        p->m_balance = kBalanced;
        r->m_balance = kBalanced;
      }
      p = r;
    } else {  // right-left double rotation
      AVLNode* m = r->m_left;
      r->m_left = m->m_right;
      m->m_right = r;
      p->m_right = m->m_left;
      m->m_left = p;
      p->m_balance = m->m_balance == kRightHigh ? kLeftHigh : kBalanced;
      r->m_balance = m->m_balance == kLeftHigh ? kRightHigh : kBalanced;
      m->m_balance = kBalanced;
      p = m;
    }
  }
}

// The right subtree of p became one lower.
void AVLTree::RightShrunk(AVLNode*& p) {
  if (p->m_balance == kRightHigh) {
    p->m_balance = kBalanced;
  } else if (p->m_balance == kBalanced) {
    p->m_balance = kLeftHigh;
    m_heightChanged = false;
  } else {
    AVLNode* l = p->m_left;
    if (l->m_balance != kRightHigh) {  // single right rotation
      p->m_left = l->m_right;
      l->m_right = p;
      if (l->m_balance == kBalanced) {
        p->m_balance = kLeftHigh;
        l->m_balance = kRightHigh;
        m_heightChanged = false;
      } else {
        p->m_balance = kBalanced;
        l->m_balance = kBalanced;
      }
      p = l;
    } else {  // left-right double rotation
      AVLNode* m = l->m_right;
      l->m_right = m->m_left;
      m->m_left = l;
      p->m_left = m->m_right;
      m->m_right = p;
      p->m_balance = m->m_balance == kLeftHigh ? kRightHigh : kBalanced;
      l->m_balance = m->m_balance == kRightHigh ? kLeftHigh : kBalanced;
      m->m_balance = kBalanced;
      p = m;
    }
  }
}
