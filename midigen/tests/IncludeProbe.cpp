// Must not compile: the generator does not link the skinned controls, so
// their headers are out of its reach (see the Layering.IncludeRoots test).
#include "midigen/TMidiGen.h"
#include "coolctrls/TCoolBtn.h"

int main()
{
    return 0;
}
