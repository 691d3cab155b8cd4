/* The four weight documents as constant bytes with their lengths, measured by the
   assembler from the files themselves. Symbols are the mangled names of BinaryData.h:
   BinaryData::modelNN_json (unsigned char[]) and BinaryData::modelNN_jsonSize
   (unsigned int). The folder of the .json files is on the assembler's include path. */

.macro embed name, nameLength, sizeLength, file
    .section .rodata._ZN10BinaryData\nameLength\name\()_jsonE, "a"
    .balign 16
    .globl _ZN10BinaryData\nameLength\name\()_jsonE
    .type _ZN10BinaryData\nameLength\name\()_jsonE, @object
_ZN10BinaryData\nameLength\name\()_jsonE:
    .incbin "\file"
1:
    .size _ZN10BinaryData\nameLength\name\()_jsonE, . - _ZN10BinaryData\nameLength\name\()_jsonE
    .balign 4
    .globl _ZN10BinaryData\sizeLength\name\()_jsonSizeE
    .type _ZN10BinaryData\sizeLength\name\()_jsonSizeE, @object
    .size _ZN10BinaryData\sizeLength\name\()_jsonSizeE, 4
_ZN10BinaryData\sizeLength\name\()_jsonSizeE:
    .long 1b - _ZN10BinaryData\nameLength\name\()_jsonE
.endm

embed model13, 12, 16, "model13.json"
embed model12, 12, 16, "model12.json"
embed model19, 12, 16, "model19.json"
embed model18, 12, 16, "model18.json"

.section .note.GNU-stack, "", @progbits
