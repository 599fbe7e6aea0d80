//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

// FSM function.
void TrafficLight(unsigned char pedestrian);

// Force the FSM to the initial state.
void TrafficLight_Init(void);

// This is not a history FSM.
#define _TrafficLight_Init()  {TrafficLight_Init(); /* Children: */ }

// Confirm that the FSM has reached the state:[Green].
unsigned char TrafficLight_IsIn_Green(void);

// Force the FSM to the state:[Red].
void TrafficLight_Goto_Red(void);


