// POSITION: the opaque place of an element in a framework list or map; null means "none".
#pragma once

struct AfxPositionTag {};
using POSITION = AfxPositionTag*;
