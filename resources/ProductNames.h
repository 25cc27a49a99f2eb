// The maker's and the product's names as the resource scripts write them:
// the string table and the program file's version block both take them from
// here, so the registry key, the data folder and the file's properties agree.
#pragma once

#define OT_MAKER_NAME "Kestrel Works"
#define OT_PRODUCT_NAME "OstraTallier"
