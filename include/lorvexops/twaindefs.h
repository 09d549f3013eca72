// The TWAIN types and constants this library uses, with the values the TWAIN
// standard publishes. Records are packed on 2-byte boundaries, as the
// standard lays them out on Windows; the sizes are checked below.
#pragma once
#include <windows.h>
#include <stdint.h>
#ifndef __cplusplus
#include <assert.h>
#endif

typedef uint8_t TW_UINT8;
typedef int16_t TW_INT16;
typedef uint16_t TW_UINT16;
typedef int32_t TW_INT32;
typedef uint32_t TW_UINT32;
typedef uint16_t TW_BOOL;
typedef HANDLE TW_HANDLE;
typedef void* TW_MEMREF;
typedef char TW_STR32[34];   // 32 characters, the terminator and one byte of padding

#pragma pack(push, 2)

typedef struct {
    TW_INT16 Whole;
    TW_UINT16 Frac;
} TW_FIX32;

typedef struct {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
} TW_VERSION;

typedef struct {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
} TW_IDENTITY, *pTW_IDENTITY;

typedef struct {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
} TW_STATUS;

typedef struct {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
} TW_CAPABILITY;

typedef struct {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
} TW_ONEVALUE;

typedef struct {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
} TW_USERINTERFACE;

typedef struct {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
} TW_EVENT;

typedef struct {
    TW_UINT16 Count;
    TW_UINT32 EOJ;
} TW_PENDINGXFERS;

typedef struct {
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
} TW_IMAGEINFO;

#pragma pack(pop)

// The source manager's one entry point (ordinal 1 of its library).
typedef TW_UINT16(WINAPI* DSMENTRYPROC)(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 group,
                                        TW_UINT16 type, TW_UINT16 message, TW_MEMREF data);

static_assert(sizeof(TW_IDENTITY) == 156, "TW_IDENTITY layout");
static_assert(sizeof(TW_ONEVALUE) == 6, "TW_ONEVALUE layout");
static_assert(sizeof(TW_PENDINGXFERS) == 6, "TW_PENDINGXFERS layout");
static_assert(sizeof(TW_IMAGEINFO) == 42, "TW_IMAGEINFO layout");
static_assert(sizeof(TW_CAPABILITY) == 4 + sizeof(TW_HANDLE), "TW_CAPABILITY layout");

// Data groups.
#define DG_CONTROL             0x0001
#define DG_IMAGE               0x0002

// Data argument types.
#define DAT_NULL               0x0000
#define DAT_CAPABILITY         0x0001
#define DAT_EVENT              0x0002
#define DAT_IDENTITY           0x0003
#define DAT_PARENT             0x0004
#define DAT_PENDINGXFERS       0x0005
#define DAT_STATUS             0x0008
#define DAT_USERINTERFACE      0x0009
#define DAT_IMAGEINFO          0x0101
#define DAT_IMAGENATIVEXFER    0x0104

// Messages.
#define MSG_NULL               0x0000
#define MSG_GET                0x0001
#define MSG_GETCURRENT         0x0002
#define MSG_GETDEFAULT         0x0003
#define MSG_SET                0x0006
#define MSG_RESET              0x0007
#define MSG_XFERREADY          0x0101
#define MSG_CLOSEDSREQ         0x0102
#define MSG_CLOSEDSOK          0x0103
#define MSG_OPENDSM            0x0301
#define MSG_CLOSEDSM           0x0302
#define MSG_OPENDS             0x0401
#define MSG_CLOSEDS            0x0402
#define MSG_USERSELECT         0x0403
#define MSG_DISABLEDS          0x0501
#define MSG_ENABLEDS           0x0502
#define MSG_PROCESSEVENT       0x0601
#define MSG_ENDXFER            0x0701

// Return codes.
#define TWRC_SUCCESS           0
#define TWRC_FAILURE           1
#define TWRC_CHECKSTATUS       2
#define TWRC_CANCEL            3
#define TWRC_DSEVENT           4
#define TWRC_NOTDSEVENT        5
#define TWRC_XFERDONE          6
#define TWRC_ENDOFLIST         7

// Condition codes.
#define TWCC_SUCCESS           0
#define TWCC_BUMMER            1
#define TWCC_LOWMEMORY         2
#define TWCC_NODS              3
#define TWCC_MAXCONNECTIONS    4
#define TWCC_OPERATIONERROR    5
#define TWCC_BADCAP            6
#define TWCC_BADPROTOCOL       9
#define TWCC_BADVALUE          10
#define TWCC_SEQERROR          11
#define TWCC_BADDEST           12

// Containers and item types.
#define TWON_ONEVALUE          5
#define TWON_DONTCARE16        0xFFFF
#define TWTY_INT16             1
#define TWTY_UINT16            4

// Capability, language and country of the identities.
#define CAP_XFERCOUNT          0x0001
#define TWLG_USA               13
#define TWCY_USA               1
