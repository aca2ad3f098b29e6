// Every program-wide object of the window program, in construction order.
#include "app/program_objects.h"

#include "app/kelimbo_app.h"

std::u16string wordToTranslate;
cIndexRu ruIndex;
cIndexEo eoIndex;
cKelimboProvRu ruProv;
cKelimboProvEo eoProv;
cHistory theHistory;
CKelimboApp theApp;
std::string fileContext;
