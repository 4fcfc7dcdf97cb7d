// Answers every top-level window as describe() gives it, in no particular order (each carries its stacking).
answer(describeAll);
