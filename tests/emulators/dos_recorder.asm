; A DOS stand-in emulator: writes its command tail and the first 16 bytes of the
; file named by its last argument to RICEVUTI.TXT in its current folder, then,
; as a real one keeps its battery save, appends those bytes to the game's .SAV
; beside the game (the game's name with the ending SAV).
; Built as an MZ .EXE without a PE header, so the launch routes it to DOSBox:
;   nasm -f bin -o Dos4GW.exe dos_recorder.asm
bits 16
org 0

header:
  db 'MZ'
  dw image_size % 512        ; bytes in the last page
  dw (image_size + 511) / 512
  dw 0                       ; relocations
  dw 2                       ; header size in paragraphs
  dw 0x1000                  ; extra paragraphs: room for the stack
  dw 0xFFFF
  dw 0                       ; SS, relative to the load segment
  dw 0xFFFE                  ; SP
  dw 0                       ; checksum
  dw 0                       ; IP
  dw 0                       ; CS, relative
  dw 0x1C                    ; relocation table offset
  dw 0                       ; overlay
  times 32 - ($ - header) db 0

%define OFF(label) ((label) - code)

code:
  mov ax, cs
  mov ds, ax                 ; our data; ES still points at the PSP
  mov [OFF(psp)], es

  mov ah, 0x3C               ; create RICEVUTI.TXT
  xor cx, cx
  mov dx, OFF(out_name)
  int 0x21
  jc fail
  mov [OFF(handle)], ax

  mov dx, OFF(tail_label)
  mov cx, tail_label_end - tail_label
  call write

  ; The tail: PSP:80h holds its length, PSP:81h the text.
  mov cl, [es:0x80]
  xor ch, ch
  mov si, 0x81
  mov di, OFF(tail)
  mov [OFF(tail_length)], cx
copy_tail:
  jcxz copied
  mov al, [es:si]
  mov [di], al
  inc si
  inc di
  dec cx
  jmp copy_tail
copied:
  mov dx, OFF(tail)
  mov cx, [OFF(tail_length)]
  call write

  ; The last blank-separated word of the tail is the game.
  mov cx, [OFF(tail_length)]
  mov si, OFF(tail)
  add si, cx
  mov byte [si], 0
find_start:
  cmp si, OFF(tail)
  je found
  cmp byte [si - 1], ' '
  je found
  dec si
  jmp find_start
found:
  mov [OFF(game_at)], si
  mov dx, OFF(game_label)
  mov cx, game_label_end - game_label
  call write

  mov ax, 0x3D00             ; open the game for reading
  mov dx, si
  int 0x21
  jc no_game
  mov bx, ax
  mov ah, 0x3F
  mov cx, 16
  mov dx, OFF(buffer)
  int 0x21
  jc no_game
  push ax
  mov ah, 0x3E
  int 0x21
  pop cx
  mov [OFF(game_bytes)], cx
  mov dx, OFF(buffer)
  call write
  call save
  jmp done
no_game:
  mov dx, OFF(missing)
  mov cx, missing_end - missing
  call write
done:
  mov ah, 0x3E
  mov bx, [OFF(handle)]
  int 0x21
  mov ax, 0x4C00
  int 0x21
fail:
  mov ax, 0x4C01
  int 0x21

save:                        ; the game's bytes appended to NAME.SAV
  mov si, [OFF(game_at)]
save_end:
  cmp byte [si], 0
  je save_dot
  inc si
  jmp save_end
save_dot:
  cmp si, [OFF(game_at)]
  je save_none
  dec si
  cmp byte [si], '.'
  jne save_dot
  mov byte [si + 1], 'S'
  mov byte [si + 2], 'A'
  mov byte [si + 3], 'V'
  mov byte [si + 4], 0
  mov ax, 0x3D02             ; open the save, or make it
  mov dx, [OFF(game_at)]
  int 0x21
  jnc save_open
  mov ah, 0x3C
  xor cx, cx
  mov dx, [OFF(game_at)]
  int 0x21
  jc save_none
save_open:
  mov bx, ax
  mov ax, 0x4202             ; to its end
  xor cx, cx
  xor dx, dx
  int 0x21
  mov ah, 0x40
  mov cx, [OFF(game_bytes)]
  mov dx, OFF(buffer)
  int 0x21
  mov ah, 0x3E
  int 0x21
save_none:
  ret

write:                       ; DS:DX, CX bytes, to the output file
  mov ah, 0x40
  mov bx, [OFF(handle)]
  int 0x21
  ret

out_name:   db 'RICEVUTI.TXT', 0
tail_label: db 'CODA:'
tail_label_end:
game_label: db 13, 10, 'GIOCO:'
game_label_end:
missing:    db '(non leggibile)'
missing_end:
psp:        dw 0
game_at:    dw 0
game_bytes: dw 0
handle:     dw 0
tail_length: dw 0
tail:       times 130 db 0
buffer:     times 16 db 0

image_size equ $ - header
