// The start-position data the compiler derives from a finished program: StartSet (characters a
// match can begin with), StartChar, Anchored and RequiredText, which let a run skip hopeless starts.
#include "compiler.h"

#include "patternengine.h"
#include "program.h"

#include <cstring>
#include <vector>

namespace regex {

void Compiler::collectStartData(int flags)
{
    TPatternEngine &engine = m_engine;
    const uint8_t *program = m_out;
    engine.m_startSet.reset();
    collectStartSet(1);
    engine.m_startChar = 0;
    engine.m_anchored = false;
    engine.m_requiredOffset = -1;
    engine.m_requiredLength = 0;

    const int afterFirstBranch = nextNode(program, 1);
    if (afterFirstBranch < 0 || opAt(program, afterFirstBranch) != Op::End) {
        return; // more than one top-level alternative
    }
    const int first = 1 + kNodeHeader;
    if (opAt(program, first) == Op::Literal) {
        engine.m_startChar = program[first + kNodeHeader];
    } else if (opAt(program, first) == Op::LineStart) {
        engine.m_anchored = true;
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
        if (length > 0 && length >= engine.m_requiredLength) {
            engine.m_requiredOffset = node + kNodeHeader;
            engine.m_requiredLength = length;
        }
    }
}

// Adds to StartSet every character a match beginning at `first` can begin with. Works with a list
// of pending nodes instead of recursion and visits each node once, so neither long programs nor
// loops whose body can match the empty string can exhaust the stack or cycle.
void Compiler::collectStartSet(int first)
{
    std::bitset<256> &set = m_engine.m_startSet;
    const uint8_t *program = m_out;
    std::vector<bool> visited(static_cast<size_t>(m_size), false);
    std::vector<int> pending {first};
    while (!pending.empty()) {
        int node = pending.back();
        pending.pop_back();
        while (node >= 0 && !visited[static_cast<size_t>(node)]) {
            visited[static_cast<size_t>(node)] = true;
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
                if ((m_engine.m_modifiers & kModM) != 0) {
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
                set.set(m_engine.m_pairHead);
                break;
            case Op::Digit:
            case Op::NotDigit:
                for (int ch = 0; ch < 256; ++ch) {
                    if ((ch >= '0' && ch <= '9') == (op == Op::Digit)) {
                        set.set(static_cast<size_t>(ch));
                    }
                }
                break;
            case Op::Literal:
                set.set(operand[0]);
                break;
            case Op::LiteralCI:
                set.set(operand[0]);
                set.set(invertCase(operand[0]));
                break;
            case Op::TinySet:
            case Op::TinySetNot:
                for (int ch = 0; ch < 256; ++ch) {
                    const bool member = ch == operand[0] || ch == operand[1] || ch == operand[2];
                    if (member == (op == Op::TinySet)) {
                        set.set(static_cast<size_t>(ch));
                    }
                }
                break;
            case Op::FullSet:
                for (int ch = 0; ch < 256; ++ch) {
                    if (fullSetHas(operand, static_cast<uint8_t>(ch))) {
                        set.set(static_cast<size_t>(ch));
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
                fail(1001);
            }
        }
    }
}

} // namespace regex
