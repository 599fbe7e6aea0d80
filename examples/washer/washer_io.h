/* The machine's inputs and outputs, as the example's generated module uses them. */
#ifndef WASHER_IO_H
#define WASHER_IO_H

enum { OFF, ON };
enum { STOP, LEFT, RIGHT };
enum { LAMP_READY };
enum { T_WASH, T_TURN };

void lamp(int which);
void valve(int on);
void pump(int on);
void motor(int direction);
void latch(int on);
int start_pressed(void);
int door_closed(void);
int level_full(void);
int level_empty(void);
void timer_start(int which);
int timer_expired(void);
void drum_timer_start(int which);
int drum_timer_expired(void);

#endif
