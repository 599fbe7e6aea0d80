//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Array of pointers to state functions. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

// FSM function
void Motor(int a, char *p);

// Force the FSM to the initial state.
void Motor_Init(void);

// This is not a history FSM.
#define _Motor_Init()  {Motor_Init(); /* Children: */ _CHILD_Init(); _SIB_Init();}

// Confirm that the FSM has reached a final state.
unsigned char Motor_End(void);

// Confirm that the FSM has reached the state:[Run].
unsigned char Motor_IsIn_Run(void);

// Confirm that the FSM has reached the state:[Fault].
unsigned char Motor_IsIn_Fault(void);

// Force the FSM to the state:[Idle].
void Motor_Goto_Idle(void);

// Force the FSM to the state:[Fault].
void Motor_Goto_Fault(void);

