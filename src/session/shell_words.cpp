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

// The last name of a path, after its last "\".
ByteView lastName(ByteView path) {
  return path.mid(static_cast<unsigned>(findLastSeparator(path) + 1));
}

}  // namespace

ShellRequest shellRequestOf(ByteView tail) {
  // The words a command may have, after /shell: a word's bit in `seen`.
  constexpr const char* kWords[] = {"/shell", "/quiet", "show", "set", "undo", "user", "machine"};
  enum : unsigned {
    kShell = 1,
    kQuiet = 2,
    kShow = 4,
    kSet = 8,
    kUndo = 16,
    kUser = 32,
    kMachine = 64
  };
  ShellRequest request;
  unsigned at = 0, seen = 0, count = 0;
  for (ByteView word = nextWord(tail, at); !word.empty(); word = nextWord(tail, at), ++count) {
    unsigned bit = 0;
    for (unsigned i = 0; i < 7 && !bit; ++i)
      if (equalsIgnoringAsciiCase(word, ByteView::ofCString(kWords[i]))) bit = 1u << i;
    // /shell first and once, every other word once; /quiet anywhere after.
    if (!count && bit != kShell) return request;
    // The scope after its action: "set user", never "user set".
    if ((bit & (kUser | kMachine)) && !(seen & (kSet | kUndo))) bit = 0;
    seen |= (seen & bit & ~kQuiet) || !bit ? 128 : bit;
  }
  if (!count) return request;
  request.quiet = seen & kQuiet;
  seen &= ~(kShell | kQuiet);
  request.scope = seen & kMachine ? ShellScope::machine : ShellScope::user;
  request.action = !seen || seen == kShow                                  ? ShellAction::show
                   : seen == (kSet | kUser) || seen == (kSet | kMachine)   ? ShellAction::set
                   : seen == (kUndo | kUser) || seen == (kUndo | kMachine) ? ShellAction::undo
                                                                           : ShellAction::bad;
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
    if (equalsIgnoringAsciiCase(lastName(nextWord(value, at)), kExe)) return true;
  }
  return equalsIgnoringAsciiCase(lastName(program), kExe);
}

void RecordedValue::assign(const RecordedValue& other) {
  there = other.there;
  expand = other.expand;
  text.assign(other.text.view());
}

void appendRecordEntry(AString& out, const RecordedValue& before, ByteView wrote) {
  out.append(wrote).append('\0');
  if (before.there) out.append(before.expand ? '%' : '=').append(before.text).append('\0');
  out.append('\0');
}

bool readRecordEntry(ByteView data, RecordedValue& before, AString& wrote) {
  int end = data.find('\0');
  ByteView rest = data.mid(static_cast<unsigned>(end + 1));
  int next = rest.find('\0');
  wrote.assign(data.mid(0, static_cast<unsigned>(end)));
  before.there = next > 0;
  before.expand = before.there && rest.at(0) == '%';
  before.text.assign(before.there ? rest.mid(1, static_cast<unsigned>(next - 1)) : ByteView());
  return end >= 0 && next >= 0 && (!before.there || before.expand || rest.at(0) == '=') &&
         !wrote.failed() && !before.text.failed();
}

}  // namespace orv
