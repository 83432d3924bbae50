// The keyword state shared by the family's input functions.
#include <ZoKeywords.h>

CString g_strInitKewords;
int g_nInitContral = -1;
CString g_strSelKewWord;
int g_IsInputSelectKeyWord = 0;
bool g_bEnableSelectKey = false;
bool g_bEnableHotKey = false;
