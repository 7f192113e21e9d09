#include "DealProbe.h"

#include "FileConv.h"
#include "NumberedError.h"
#include "PaiStructure.h"

int CountDealingProblems(const FileConv& layout, int first, int last)
{
    int dealt = 0;
    PaiStructure board;
    for (int problem = first; problem <= last; ++problem) {
        try {
            board.CreateTable(layout, problem, 0);
            ++dealt;
        } catch (const NumberedError&) {
        }
    }
    return dealt;
}
