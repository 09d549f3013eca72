// lorvexops: the image-operations library of the Lorvex picture viewer.
// A host includes this header only and links the import library and
// lorvexops.dll.so (see lorvexopsConfig.cmake).
#pragma once
#include "lorvexops/version.h"
#include "lorvexops/module.h"
#include "lorvexops/companions.h"
#include "lorvexops/hostrecords.h"
#include "lorvexops/widestring.h"
#include "lorvexops/dib.h"
#include "lorvexops/settings.h"
#include "lorvexops/filetypes.h"
#include "lorvexops/folder.h"
#include "lorvexops/resize.h"
#include "lorvexops/listview.h"
#include "lorvexops/ziplib.h"
#include "lorvexops/mail.h"
#include "lorvexops/twain.h"
