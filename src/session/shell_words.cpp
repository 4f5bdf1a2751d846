#include "session/shell_words.h"

#include "platform/text.h"

namespace orv {

namespace {

// The next word of `text` from `at`, words apart by blanks; empty at the end.
ByteView nextWord(ByteView text, unsigned& at) {
  while (at < text.size && text.at(at) == ' ') ++at;
  unsigned start = at;
  while (at < text.size && text.at(at) != ' ') ++at;
  return text.mid(start, at - start);
}

bool is(ByteView word, ByteView name) { return equalsIgnoringAsciiCase(word, name); }

// The last name of a path, after its last "\".
ByteView lastName(ByteView path) {
  return path.mid(static_cast<unsigned>(findLastSeparator(path) + 1));
}

constexpr ByteView kWas("was: "), kWasExpand("was REG_EXPAND_SZ: "), kWasNone("was none"),
    kWrote("wrote: ");

bool startsWith(ByteView text, ByteView head) {
  return text.size >= head.size && text.mid(0, head.size) == head;
}

}  // namespace

ShellRequest shellRequestOf(ByteView tail) {
  ShellRequest request;
  unsigned at = 0;
  if (!is(nextWord(tail, at), "/shell")) return request;
  ByteView words[3];
  unsigned count = 0;
  for (ByteView word = nextWord(tail, at); !word.empty(); word = nextWord(tail, at)) {
    if (is(word, "/quiet"))
      request.quiet = true;
    else if (count < 3)
      words[count++] = word;
    else
      count = 4;  // more words than any command has
  }
  request.action = ShellAction::bad;
  if (count == 0 || (count == 1 && is(words[0], "show"))) {
    request.action = ShellAction::show;
  } else if (count == 2 && (is(words[1], "user") || is(words[1], "machine"))) {
    request.scope = is(words[1], "user") ? ShellScope::user : ShellScope::machine;
    if (is(words[0], "set")) request.action = ShellAction::set;
    if (is(words[0], "undo")) request.action = ShellAction::undo;
  }
  return request;
}

bool namesOrvalix(ByteView value) {
  constexpr ByteView kExe("Orvalix.exe");
  ByteView program = value;
  if (!value.empty() && value.at(0) == '"') {
    int close = value.find('"', 1);
    program = value.mid(1, close < 0 ? ~0u : static_cast<unsigned>(close) - 1);
  } else {
    unsigned at = 0;
    if (is(lastName(nextWord(value, at)), kExe)) return true;
  }
  return is(lastName(program), kExe);
}

void RecordedValue::assign(const RecordedValue& other) {
  there = other.there;
  expand = other.expand;
  text.assign(other.text.view());
}

void appendRecordEntry(AString& out, const RecordedValue& before, ByteView wrote) {
  if (before.there)
    out.append(before.expand ? kWasExpand : kWas).append(before.text);
  else
    out.append(kWasNone);
  out.append('\0').append(kWrote).append(wrote).append('\0').append('\0');
}

bool readRecordEntry(ByteView data, RecordedValue& before, AString& wrote) {
  int end = data.find('\0');
  if (end < 0) return false;
  ByteView was = data.mid(0, static_cast<unsigned>(end)), rest = data.mid(end + 1);
  int restEnd = rest.find('\0');
  ByteView last = rest.mid(0, restEnd < 0 ? ~0u : static_cast<unsigned>(restEnd));
  if (!startsWith(last, kWrote) || last.find('\0') >= 0) return false;
  before.expand = startsWith(was, kWasExpand);
  before.there = before.expand || startsWith(was, kWas);
  if (!before.there && !(was == kWasNone)) return false;
  before.text.assign(was.mid(before.there ? (before.expand ? kWasExpand : kWas).size : was.size));
  wrote.assign(last.mid(kWrote.size));
  return !before.text.failed() && !wrote.failed();
}

}  // namespace orv
