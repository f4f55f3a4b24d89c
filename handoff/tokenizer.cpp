#include "handoff/tokenizer.h"

#include <algorithm>

namespace {

constexpr WStringView kBlanks = u" \t\n\r";

// The quoted token that starts at *at, after its opening quote; *at ends
// after its closing quote.
WString QuotedToken(WStringView tail, size_t* at) {
  const WChar quote = tail[(*at)++];
  WString token;
  while (*at < tail.size()) {
    const WChar c = tail[(*at)++];
    if (c != quote) {
      token += c;
    } else if (*at < tail.size() && tail[*at] == quote) {
      token += quote;
      ++*at;
    } else {
      break;
    }
  }
  return token;
}

}  // namespace

WStringView CommandLineTail(WStringView command_line) {
  size_t at = 0;
  bool quoted = false;
  for (; at < command_line.size() && (quoted || command_line[at] > u' '); ++at) {
    if (command_line[at] == u'"') quoted = !quoted;
  }
  while (at < command_line.size() && command_line[at] <= u' ') ++at;
  return command_line.substr(at);
}

ImportList TokenizeCommandLine(WStringView tail) {
  std::vector<WString> tokens;
  for (size_t at = tail.find_first_not_of(kBlanks); at != WStringView::npos;
       at = tail.find_first_not_of(kBlanks, at)) {
    if (tail[at] == u'"' || tail[at] == u'\'') {
      // The character after the closing quote starts a new token, blank or not.
      tokens.push_back(QuotedToken(tail, &at));
    } else {
      const size_t end = std::min(tail.find_first_of(kBlanks, at), tail.size());
      tokens.emplace_back(tail.substr(at, end - at));
      at = end;
    }
  }
  ImportList documents;
  for (size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i] == u"-I") documents.push_back(tokens[++i]);
  }
  return documents;
}
