// The start-position data the compiler derives from a finished program: StartSet (characters a
// match can begin with), StartChar, Anchored and RequiredText, which let a run skip hopeless starts.
#include "compiler.h"

#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace regex {

void Compiler::collectStartData(int flags)
{
    Program &result = m_program;
    const uint8_t *program = m_out;
    collectStartSet(1);

    const int afterFirstBranch = nextNode(program, 1);
    if (afterFirstBranch < 0 || opAt(program, afterFirstBranch) != Op::End) {
        return; // more than one top-level alternative
    }
    const int first = 1 + kNodeHeader;
    if (opAt(program, first) == Op::Literal) {
        result.startChar = program[first + kNodeHeader];
    } else if (opAt(program, first) == Op::LineStart) {
        result.anchored = true;
    }
    if ((flags & kRepeats) == 0) {
        return;
    }
    // The longest literal on the top-level chain; of equally long ones the later.
    for (int node = first; node >= 0; node = nextNode(program, node)) {
        if (opAt(program, node) != Op::Literal) {
            continue;
        }
        const auto length = static_cast<int>(std::strlen(reinterpret_cast<const char *>(program + node + kNodeHeader)));
        if (length > 0 && length >= result.requiredLength) {
            result.requiredOffset = node + kNodeHeader;
            result.requiredLength = length;
        }
    }
}

namespace {

// Marks of visited nodes: inline for programs of up to kInlineBytes bytes, else on the heap.
class NodeMarks
{
public:
    explicit NodeMarks(int programSize)
    {
        if (programSize > kInlineBytes) {
            m_heap.resize(static_cast<size_t>(programSize) / 64 + 1);
            m_words = m_heap.data();
        }
    }
    NodeMarks(const NodeMarks &) = delete;
    NodeMarks &operator=(const NodeMarks &) = delete;

    // Marks the node; true when it was marked already.
    bool mark(int node)
    {
        const auto index = static_cast<size_t>(node);
        const uint64_t bit = uint64_t {1} << (index % 64);
        const bool marked = (m_words[index / 64] & bit) != 0;
        m_words[index / 64] |= bit;
        return marked;
    }

private:
    static constexpr int kInlineBytes = 4096;
    std::array<uint64_t, kInlineBytes / 64> m_inline {};
    std::vector<uint64_t> m_heap;
    uint64_t *m_words = m_inline.data();
};

void addRange(std::bitset<256> &set, int first, int last)
{
    for (int ch = first; ch <= last; ++ch) {
        set.set(static_cast<size_t>(ch));
    }
}

} // namespace

// Adds to StartSet every character a match beginning at `first` can begin with. Works with a list
// of pending nodes instead of recursion and visits each node once, so neither long programs nor
// loops whose body can match the empty string can exhaust the stack or cycle.
void Compiler::collectStartSet(int first)
{
    std::bitset<256> &set = m_program.startSet;
    const uint8_t *program = m_out;
    NodeMarks visited(m_size);
    std::vector<int> pending;
    for (int start = first;;) {
        int node = start;
        while (node >= 0 && !visited.mark(node)) {
            const int here = node;
            const Op op = opAt(program, here);
            const uint8_t *operand = program + here + kNodeHeader;
            const int next = nextNode(program, here);
            node = -1;
            switch (op) {
            case Op::End:
            case Op::AnyChar:
            case Op::AnyCharML:
            case Op::BackRef:
            case Op::BackRefCI:
                set.set();
                return;
            case Op::LineEnd:
                set.set(0);
                if ((m_options.modifiers & kModM) != 0) {
                    for (const char ch : kLineSeparatorCharacters) {
                        set.set(static_cast<uint8_t>(ch));
                    }
                }
                break;
            case Op::LineEndML:
                // It matches before a separator whatever the object's modifiers say now.
                set.set(0);
                for (const char ch : kLineSeparatorCharacters) {
                    set.set(static_cast<uint8_t>(ch));
                }
                set.set(m_options.linePair.head);
                break;
            case Op::Digit:
                addRange(set, '0', '9');
                break;
            case Op::NotDigit:
                addRange(set, 0, '0' - 1);
                addRange(set, '9' + 1, 255);
                break;
            case Op::Literal:
                set.set(operand[0]);
                break;
            case Op::LiteralCI:
                set.set(operand[0]);
                set.set(invertCase(operand[0]));
                break;
            case Op::TinySet:
                set.set(operand[0]).set(operand[1]).set(operand[2]);
                break;
            case Op::TinySetNot: {
                std::bitset<256> members;
                members.set(operand[0]).set(operand[1]).set(operand[2]);
                set |= ~members;
                break;
            }
            case Op::FullSet:
                for (int byte = 0; byte < kFullSetSize; ++byte) {
                    for (unsigned bits = operand[byte]; bits != 0; bits &= bits - 1) {
                        set.set(static_cast<size_t>(byte * 8 + std::countr_zero(bits)));
                    }
                }
                break;
            case Op::Branch:
                if (next < 0 || opAt(program, next) != Op::Branch) {
                    node = here + kNodeHeader;
                    break;
                }
                for (int branch = here; branch >= 0 && opAt(program, branch) == Op::Branch;
                     branch = nextNode(program, branch)) {
                    pending.push_back(branch + kNodeHeader);
                }
                break;
            case Op::Loop:
            case Op::LoopLazy:
                pending.push_back(here + readInt32(operand + 8));
                if (readInt32(operand) == 0) {
                    node = next;
                }
                break;
            case Op::Star:
            case Op::StarLazy:
                pending.push_back(here + kNodeHeader);
                node = next;
                break;
            case Op::Plus:
            case Op::PlusLazy:
                node = here + kNodeHeader;
                break;
            case Op::Braces:
            case Op::BracesLazy:
                if (readInt32(operand) > 0) {
                    node = here + kNodeHeader + kBracesOperand;
                } else {
                    pending.push_back(here + kNodeHeader + kBracesOperand);
                    node = next;
                }
                break;
            case Op::LineStart:
            case Op::LineStartML:
            case Op::Back:
            case Op::Empty:
            case Op::Comment:
            case Op::WordBound:
            case Op::NotWordBound:
            case Op::LoopEntry:
                node = next;
                break;
            default:
                if (isOpen(op) || isClose(op)) {
                    node = next;
                    break;
                }
                fail(ErrorCode::ReservedOpcode);
            }
        }
        if (pending.empty()) {
            return;
        }
        start = pending.back();
        pending.pop_back();
    }
}

} // namespace regex
