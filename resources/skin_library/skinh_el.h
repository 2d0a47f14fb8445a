/* The exports of our SkinH_EL.dll stand-in: it takes a skin during the call and keeps
 * a copy of its colour scheme. The program itself calls only SkinH_AttachRes. */
#ifndef VELMORA_SKINH_EL_H
#define VELMORA_SKINH_EL_H

#ifdef __cplusplus
extern "C" {
#endif

/* Reads the skin (skin_format.h) during the call and keeps no pointer to it. Returns 1
 * when the skin was valid and its scheme is now the active one, 0 otherwise; a rejected
 * skin leaves the active scheme as it was. The other arguments are accepted and unused. */
int __stdcall SkinH_AttachRes(const void* skin, int length, const char* empty_text,
                              int reserved1, int reserved2, int reserved3);

/* The active scheme's colour for a SkinColourRole as a COLORREF, or 0xFFFFFFFF when no
 * skin has been taken or the role is unknown. */
unsigned int __stdcall SkinH_GetSchemeColor(int role);

#ifdef __cplusplus
}
#endif

#endif
