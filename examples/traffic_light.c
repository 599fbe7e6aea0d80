//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Exported function: void TrafficLight(unsigned char pedestrian);
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Module header proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Traffic light controller.
// lamps(red, yellow, green) drives the three lamps.
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Module header proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Initialization proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  #define RED_TICKS    30
  #define GREEN_TICKS  25
  #define YELLOW_TICKS 5
  static unsigned int timer;
  extern void lamps(int red, int yellow, int green);
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Initialization proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Automatic initialization (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
 // States index.
  #define  i_RED     0
  #define  i_GREEN   1
  #define  i_YELLOW  2

 // Index variable.
static unsigned char ind_TrafficLight = i_RED;
static unsigned char entryFsmFlg = 0;

 // Macros & functions.
// Force the FSM to the initial state.
void TrafficLight_Init(void)
{
    ind_TrafficLight = i_RED;
    entryFsmFlg = 0;
}

// Confirm that the FSM has reached the state:[Green].
unsigned char TrafficLight_IsIn_Green(void)
{
    return(ind_TrafficLight == i_GREEN);
}

// Force the FSM to the state:[Red].
void TrafficLight_Goto_Red(void)
{
    ind_TrafficLight = i_RED;
    entryFsmFlg = 0;
}

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Automatic initialization (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// FSM dispatcher function to be called by the O.S.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Called once per tick by the scheduler.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
void TrafficLight(unsigned char pedestrian)
{
    // User actions to be executed before analyse the state.
    timer++;

    // Next state analyser.
    switch(ind_TrafficLight){
        case i_RED:
            // Entry check
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                // Entry actions
                timer = 0;
            }
            // State actions (Moore).
            lamps(1, 0, 0);
            // Next state selection.
            if(timer >= RED_TICKS){
                // Pointing to the next state.
                ind_TrafficLight = i_GREEN;
                // Reset entry flag
                entryFsmFlg = 0;
            }
        break;
        case i_GREEN:
            // Entry check
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                // Entry actions
                timer = 0;
            }
            // State actions (Moore).
            lamps(0, 0, 1);
            // Next state selection.
            if(timer >= GREEN_TICKS || pedestrian){
                // Transition actions (Meally).
                pedestrian = 0;
                // Pointing to the next state.
                ind_TrafficLight = i_YELLOW;
                // Reset entry flag
                entryFsmFlg = 0;
            }
        break;
        case i_YELLOW:
            // Entry check
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                // Entry actions
                timer = 0;
            }
            // State actions (Moore).
            lamps(0, 1, 0);
            // Next state selection.
            if(timer >= YELLOW_TICKS){
                // Pointing to the next state.
                ind_TrafficLight = i_RED;
                // Reset entry flag
                entryFsmFlg = 0;
            }
        break;
        default:
            // State index error trap (MISRA requiremment).
            TrafficLight_Init();
    }
}

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  End of the automatic generated C-code.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

