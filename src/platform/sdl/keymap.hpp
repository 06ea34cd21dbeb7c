#pragma once
// SDL scancodes to the Windows-style virtual-key codes the settings store.
namespace pf {

// The virtual-key code of a physical key, 0 when the key has none. Only the
// sided codes are produced for Shift, Control and Alt (160 to 165), never the
// generic 16/17/18: the key-name table has no names for those, and a
// key-redefinition scan would find the generic code first.
int virtualKeyFromScancode(int scancode);

}  // namespace pf
