#pragma once

class FileConv;

// How many of the problems first..last the layout deals. Each deal is built
// afresh; a layout the board refuses deals none. Standard library only, so it
// may run on any thread.
int CountDealingProblems(const FileConv& layout, int first, int last);
