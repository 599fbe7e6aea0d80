/* Runs the washer machine against a simulated appliance and prints what the
   machine does: one line per output call. */
#include <stdio.h>

#include "Washer.h"
#include "washer_io.h"

static int tick, valve_on, pump_on, level, timer_left, drum_left;

void lamp(int which) { printf("%d lamp %d\n", tick, which); }
void valve(int on) { valve_on = on; printf("%d valve %d\n", tick, on); }
void pump(int on) { pump_on = on; printf("%d pump %d\n", tick, on); }
void motor(int direction) { printf("%d motor %d\n", tick, direction); }
void latch(int on) { printf("%d latch %d\n", tick, on); }
int start_pressed(void) { return tick >= 2; }
int door_closed(void) { return 1; }
int level_full(void) { return level >= 3; }
int level_empty(void) { return level <= 0; }
void timer_start(int which) { (void)which; timer_left = 6; }
int timer_expired(void) { return timer_left <= 0; }
void drum_timer_start(int which) { (void)which; drum_left = 2; }
int drum_timer_expired(void) { return drum_left <= 0; }

int main(void)
{
    for (tick = 0; tick < 30; ++tick) {
        Washer();
        level += valve_on - pump_on;
        if (level < 0)
            level = 0;
        --timer_left;
        --drum_left;
    }
    return 0;
}
