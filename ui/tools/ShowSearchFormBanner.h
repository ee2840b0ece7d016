#pragma once

// Shows the search form during a run with a banner from a banner server in this process; returns
// when its window is closed.
void ShowSearchFormBanner();
