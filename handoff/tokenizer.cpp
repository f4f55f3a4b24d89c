#include "handoff/tokenizer.h"

#include <new>
#include <vector>

namespace {

bool IsBlank(WChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

enum class State { Between, Bare, DoubleQuoted, SingleQuoted };

void FinishToken(std::vector<Token>& tokens, const WString& token) {
  Token& entry = tokens.emplace_back();
  try {
    entry = token;
  } catch (const std::bad_alloc&) {
    // Stays empty: a path after it is skipped, an option there ends the walk.
  }
}

}  // namespace

void TokenizeCommandLine(WStringView tail, CStringArray& list) {
  // The view is not terminated: its characters are copied with the null the
  // walk stops at.
  const WString text(tail);
  const WChar* p = text.c_str();

  std::vector<Token> tokens;
  WString token;
  WChar quote = 0;
  State state = State::Between;
  for (;;) {
    WChar c = *p;
    if (state == State::Between) {
      if (c == 0) break;
      if (IsBlank(c)) {
        ++p;
        continue;
      }
      token.clear();
      if (c == u'"' || c == u'\'') {
        quote = c;
        state = c == u'"' ? State::DoubleQuoted : State::SingleQuoted;
        ++p;
      } else {
        state = State::Bare;
      }
      continue;
    }
    if (state == State::Bare) {
      if (c == 0 || IsBlank(c)) {
        FinishToken(tokens, token);
        state = State::Between;
        continue;
      }
      token.push_back(c);
      ++p;
      continue;
    }
    // Quoted: a doubled quote stands for one; an unclosed quote runs to the end.
    if (c == 0) {
      FinishToken(tokens, token);
      break;
    }
    if (c == quote) {
      if (p[1] == quote) {
        token.push_back(c);
        p += 2;
        continue;
      }
      FinishToken(tokens, token);
      state = State::Between;
      ++p;
      continue;
    }
    token.push_back(c);
    ++p;
  }
  CollectImports(static_cast<int>(tokens.size()), tokens.data(), list);
}

void CollectImports(int count, const Token* tokens, CStringArray& list) {
  for (int i = 0; i < count; ++i) {
    const Token& option = tokens[i];
    if (!option) return;
    if (*option != u"-I") continue;
    if (i + 1 >= count) return;
    const Token& path = tokens[++i];
    if (path) list.push_back(*path);
  }
}
