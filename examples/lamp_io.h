/* The lamp's input and output: a push button read by the caller before each
   call of Lamp(), and the lamp's LED, written by the machine. */
#ifndef LAMP_IO_H
#define LAMP_IO_H

extern int button;
extern int led;

#endif
