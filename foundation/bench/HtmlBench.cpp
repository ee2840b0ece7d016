// Builds and prints a report-like HTML page (a results table of a few thousand elements) in a
// plain timed loop and prints elements/s for building and MB/s of printed output. There is no
// reference beside it: the HTML libraries at hand parse pages, none prints an element tree.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <streambuf>
#include <string>

#include "foundation/html/HtmlDocument.h"
#include "foundation/html/HtmlList.h"
#include "foundation/html/HtmlTable.h"
#include "foundation/html/HtmlTags.h"

namespace {

using Clock = std::chrono::steady_clock;

// A sink that only counts: the figures are those of printing, not of growing a string. The
// reports print into a buffered file stream, which costs about as little per byte.
class CCountingBuffer : public std::streambuf {
 public:
  size_t m_count = 0;

 protected:
  int_type overflow(int_type ch) override {
    if (ch != traits_type::eof()) ++m_count;
    return traits_type::not_eof(ch);
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    m_count += static_cast<size_t>(n);
    return n;
  }
};

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// One Summary-like page: a title bar, a header row and rows of six cells with fonts, links and
// texts that need escaping.
void BuildPage(CHtmlDocument& page, int rows) {
  page.SetTitle("Summary report for example.org & friends");
  page.SetBodyColour(0xFFFFFF);

  CHtmlTable bar;
  bar.SetBgColor(0xFF0000);
  bar.SetWidth("100", true);
  bar.SetBorder(0);
  bar.SetCellPadding(5);
  bar.SetCellSpacing(0);
  CHtmlTableRow barRow;
  CHtmlFont title("Arial, Helvetica", 1, 0xFFFFFF);
  title.AddText("Summary");
  barRow.Add(title);
  barRow.Add(CHtmlTableCell(CHtmlAnchor("http://example.org/", "1.0"), CHtmlElement::kRight));
  bar.Add(barRow);
  page << bar;

  CHtmlTable table;
  table.SetBorder(0);
  table.SetCellPadding(5);
  table.SetCellSpacing(0);
  CHtmlTableRow header;
  header.SetBgColor(0);
  for (const char* caption : {"Engine", "Country", "Rank", "Page", "Position", "Link"}) {
    CHtmlFont font("Arial, Helvetica", 0, 0xFFFFFF);
    font.AddText(caption);
    header.Add(font);
  }
  table.Add(header);
  for (int i = 0; i < rows; ++i) {
    CHtmlTableRow row(CHtmlElement::kLeft);
    row.SetVAlign(CHtmlElement::kTop);
    row.SetBgColor(i % 3 ? 0xFFFFFF : 0x00FF00);
    CHtmlFont font("Arial, Helvetica");
    font.SetContent(CLibString().Format("Engine %d", i));
    row.Add(CHtmlAnchor(CLibString().Format("http://engine%d.example.com/", i), font));
    font.SetContent("us");
    row.Add(font);
    font.SetContent(CLibString().Format("%d (%+d)", i % 50 + 1, i % 7 - 3));
    row.Add(font);
    font.SetContent(CLibString(i % 5 + 1));
    row.Add(font);
    font.SetContent(CLibString(i % 10 + 1));
    row.Add(font);
    row.Add(CHtmlAnchor(CLibString().Format("http://example.org/page?id=%d&lang=en", i),
                        "Example <Site> \"Home\" & more   text"));
    table.Add(row);
  }
  page << table;
  CHtmlList summary;
  for (int i = 0; i < 10; ++i) summary.AddText(CLibString().Format("%d engines found the site", i));
  page << summary;
  page << CHtmlRule();
}

}  // namespace

int main(int argc, char** argv) {
  int rows = argc > 1 ? atoi(argv[1]) : 1000;
  if (rows <= 0) rows = 1000;
  const double kMinSeconds = 1.0;

  // Building (with the copies that Add makes, as the report writers build).
  long elements = 0;
  int builds = 0;
  Clock::time_point start = Clock::now();
  do {
    long before = CHtmlElement::GetConstructedCount();
    CHtmlDocument page;
    BuildPage(page, rows);
    elements += CHtmlElement::GetConstructedCount() - before;
    ++builds;
  } while (Seconds(start) < kMinSeconds);
  double buildSeconds = Seconds(start);

  // Printing one page again and again.
  CHtmlDocument page;
  long before = CHtmlElement::GetAliveCount();
  BuildPage(page, rows);
  long pageElements = CHtmlElement::GetAliveCount() - before;
  size_t bytes = 0;
  int prints = 0;
  start = Clock::now();
  do {
    CCountingBuffer counter;
    std::ostream os(&counter);
    page.Write(os);
    bytes += counter.m_count;
    ++prints;
  } while (Seconds(start) < kMinSeconds);
  double printSeconds = Seconds(start);

  size_t pageBytes = page.ToText().GetLength();
  printf("page: %d rows, %ld elements in the tree, %zu bytes printed\n", rows, pageElements,
         pageBytes);
  printf("build: %8.1f pages/s  %10.0f elements/s (elements made, copies included)\n",
         builds / buildSeconds, elements / buildSeconds);
  printf("print: %8.1f pages/s  %10.0f elements/s  %8.1f MB/s\n", prints / printSeconds,
         pageElements * static_cast<double>(prints) / printSeconds, bytes / printSeconds / 1e6);
  return 0;
}
