// The reference beside ResultParseBench: gumbo parses each page of a folder into its tree and the
// tree is walked for the href of every link, the least a general HTML parser must do to find a
// page's result links. Prints pages per second and MB/s; the last line is for scripts/bench-parse:
//   RESULT gumbo pages=<n> bytes=<n> seconds=<wall> cpu=<cpu> links=<n>
//
//   GumboLinksBench FOLDER [--rounds N]
#include <gumbo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The hrefs of the page's links, by an explicit walk (pages nest deep enough to make recursion a
// poor measure).
size_t CountLinks(const GumboNode* root, size_t& hrefBytes) {
  size_t links = 0;
  std::vector<const GumboNode*> stack{root};
  while (!stack.empty()) {
    const GumboNode* node = stack.back();
    stack.pop_back();
    if (node->type != GUMBO_NODE_ELEMENT) continue;
    const GumboElement& element = node->v.element;
    if (element.tag == GUMBO_TAG_A) {
      if (const GumboAttribute* href = gumbo_get_attribute(&element.attributes, "href")) {
        ++links;
        hrefBytes += strlen(href->value);
      }
    }
    for (unsigned i = 0; i < element.children.length; ++i)
      stack.push_back(static_cast<const GumboNode*>(element.children.data[i]));
  }
  return links;
}

size_t ParseOnce(const std::string& page, size_t& hrefBytes) {
  GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, page.data(), page.size());
  size_t links = CountLinks(output->root, hrefBytes);
  gumbo_destroy_output(&kGumboDefaultOptions, output);
  return links;
}

double Cpu() {
  return static_cast<double>(clock()) / CLOCKS_PER_SEC;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  int rounds = 20;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
      rounds = atoi(argv[++i]);
    } else {
      folder = argv[i];
    }
  }
  if (folder.empty()) {
    fprintf(stderr, "usage: GumboLinksBench FOLDER [--rounds N]\n");
    return 2;
  }
  if (rounds < 1) rounds = 1;

  // The pages by name, so that the styles come in the order ResultParseBench writes them.
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".html") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<std::string> pages;
  size_t bytes = 0;
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    pages.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    bytes += pages.back().size();
  }
  if (pages.empty()) {
    fprintf(stderr, "no .html pages in %s\n", folder.c_str());
    return 1;
  }
  printf("%zu pages, %.1f KB on average\n", pages.size(), bytes / 1024.0 / pages.size());

  size_t links = 0, hrefBytes = 0;
  double cpuStart = Cpu();
  auto start = Clock::now();
  for (int r = 0; r < rounds; ++r)
    for (const std::string& page : pages) links += ParseOnce(page, hrefBytes);
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  double cpu = Cpu() - cpuStart;
  size_t totalPages = pages.size() * rounds;
  printf("gumbo: %.0f pages/s, %.1f MB/s, %.3f ms/page, %zu links a page\n", totalPages / seconds,
         bytes * rounds / seconds / 1e6, seconds * 1000 / totalPages, links / totalPages);
  printf("RESULT gumbo pages=%zu bytes=%zu seconds=%.6f cpu=%.6f links=%zu\n", totalPages,
         bytes * rounds, seconds, cpu, links);
  return 0;
}
