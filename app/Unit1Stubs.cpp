#include "app/Unit1.h"
void TForm1::BitBtn2Click() {}
void TForm1::help1Click() {}
void TForm1::About1Click() {}
