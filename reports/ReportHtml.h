// Text helpers of the report writers: link targets and titles taken from result links, result
// HTML made safe to show in a local page, search-term highlighting, and the "http://" prefix.
//
// Result blocks come from other people's pages. A report is a local file that the browser opens
// with the rights of a local page, so anything that can run script (script elements, event
// attributes, script link targets) is taken out before a block or a link title goes into it.
#pragma once

#include <string>

#include "foundation/core/LibString.h"

namespace reporthtml {

// The address with "http://" in front when it does not hold "http://" anywhere.
CLibString WithHttp(const CLibString& address);

// The address made a link target: WithHttp, or empty when it would run script.
CLibString HttpLink(const CLibString& address);

// Whether a link target would run script when followed (javascript:, vbscript:, livescript:,
// also when hidden by entities, blanks or control characters).
bool IsScriptTarget(const std::string& target);
// The target itself, or empty when it would run script.
CLibString SafeTarget(const CLibString& target);

// The HTML with its markup kept but without script: script, style, iframe, frame, object,
// embed, applet, base, meta and link elements go (script and style with their contents),
// comments go, attributes named on... go, attributes whose value is a script target go. A "<"
// that starts no tag and a tag left open at the end are written as text.
std::string SanitizeHtml(const std::string& html);

// The target of a result link: " = " made "=", the href value of the opening tag (quoted or up
// to a blank or ">"), line ends and tabs removed, "&amp;" made "&", blanks trimmed.
CLibString LinkTarget(const CLibString& link);
// The title of a result link: what follows the opening tag up to its closing </a> tag (a tag
// whose name is exactly "a", so </abbr> or </address> do not end it); empty without a ">".
CLibString LinkTitle(const CLibString& link);

// Wraps every occurrence (in any letter case) of each blank-separated word of the term in the
// highlight font, except occurrences inside a tag. Words holding "<", ">" or "&" are skipped:
// wrapping them could cut a tag or an entity in two.
std::string HighlightTerm(const std::string& html, const std::string& term);

}  // namespace reporthtml
