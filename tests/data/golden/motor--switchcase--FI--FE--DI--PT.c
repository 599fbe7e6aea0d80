//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  Automatic generated C-code by the application:
//     Orvane Editor v1.0r0
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Methodology: Switch-case state. [v1.2r3]
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Exported function: void Motor(int a, char *p);
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Module header proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Motor control.
// Uses / *timers* / heavily.
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Module header proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Initialization proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
  #include "motor_io.h"
  static int n = 0;
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Initialization proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Automatic initialization (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
 // States index.
  #define  i_IDLE   0
  #define  i_RUN    1
  #define  i_FAULT  2
  #define  i_SUB    3
  #define  i_DONE   4

 // Index variable.
static unsigned char ind_Motor = i_IDLE;
static unsigned char entryFsmFlg = 0;

#if defined(FSM_DEBUG)
    static unsigned char debug_transNumber = 0;
    static const char* debug_stateNames[] = {
        "Idle",
        "Run",
        "Fault",
        "Sub",
        "Done",
    };
    #define FSM_STATE_NAME()   debug_stateNames[ind_Motor]
    #define FSM_TRANS_NUMBER() debug_transNumber
    #define FSM_NAME()         "Motor"
#else
    #define FSM_STATE_NAME()
    #define FSM_TRANS_NUMBER()
    #define FSM_NAME()
#endif


 // Macros & functions.
#define Is_Next_State_Illegal() (ind_Motor > i_DONE)

// Force the FSM to the initial state.
void Motor_Init(void)
{
    ind_Motor = i_IDLE;
    entryFsmFlg = 0;
    #if defined(FSM_DEBUG)
        debug_transNumber = 0;
    #endif
}

// Confirm that the FSM has reached a final state.
unsigned char Motor_End(void)
{
    return((ind_Motor == i_FAULT) ||
           (ind_Motor == i_DONE));
}

// Confirm that the FSM has reached the state:[Run].
unsigned char Motor_IsIn_Run(void)
{
    return(ind_Motor == i_RUN);
}

// Confirm that the FSM has reached the state:[Fault].
unsigned char Motor_IsIn_Fault(void)
{
    return(ind_Motor == i_FAULT);
}

// Force the FSM to the state:[Idle].
void Motor_Goto_Idle(void)
{
    ind_Motor = i_IDLE;
    entryFsmFlg = 0;
    #if defined(FSM_DEBUG)
        debug_transNumber = 0;
    #endif
}

// Force the FSM to the state:[Fault].
void Motor_Goto_Fault(void)
{
    ind_Motor = i_FAULT;
    entryFsmFlg = 0;
    #if defined(FSM_DEBUG)
        debug_transNumber = 0;
    #endif
}


 // Definition of Exit_functions.
  static void Run_OnExit(void);

// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Automatic initialization (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// FSM dispatcher function to be called by the O.S.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Call every 10 ms.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
void Motor(int a, char *p)
{
    // User actions to be executed before analyse the state.
    read_inputs();

    #if defined(FSM_DEBUG)
        debug_transNumber = 0;
    #endif
    // Next state analyser.
    switch(ind_Motor){
        case i_IDLE:
            // Entry check
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                // Entry actions
                led(0);
            }
            // Next state selection.
            if(a > 0 &&
               p != 0){	// [1].
                // Transition actions (Meally).
                start();
                // Pointing to the next state.
                ind_Motor = i_RUN;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 1;
                #endif
                // Reset entry flag
                entryFsmFlg = 0;
            }else {	// [2].
                // Transition actions (Meally).
                wait();
                #if defined(FSM_DEBUG)
                    debug_transNumber = 2;
                #endif
            }
        break;
        case i_RUN:
            // State actions (Moore).
            speed = a;
            // Next state selection.
            if(err){	// [1].
                // Exit actions.
                Run_OnExit();
                // Pointing to the next state.
                ind_Motor = i_FAULT;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 1;
                #endif
            }else if(a == 0 ||
                     p == 0 // null
                     ){	// [2].
                // Exit actions.
                Run_OnExit();
                // Transition actions (Meally).
                n++;
                log(n);
                // Pointing to the next state.
                ind_Motor = i_IDLE;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 2;
                #endif
            }else if(tick){	// [5].
                // Exit actions.
                Run_OnExit();
                // Transition actions (Meally).
                count++;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 5;
                #endif
            }else { // Else actions.
                idle();
            }
        break;
        case i_FAULT:
            // Entry check
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                // Entry actions
                alarm(1);
            }
            // State actions (Moore).
            CHILD();
            // Next state selection.
            if(reset){
                // Child Initialization.
                _CHILD_Init();
                // Exit actions.
                alarm(0);
                // Pointing to the next state.
                ind_Motor = i_IDLE;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 1;
                #endif
                // Reset entry flag
                entryFsmFlg = 0;
            }
        break;
        case i_SUB:
            // State actions (Moore).
            CHILD();
            // Next state selection.
            if(1){
                // Child Initialization.
                _CHILD_Init();
                _SIB_Init();
                // Pointing to the next state.
                ind_Motor = i_DONE;
                #if defined(FSM_DEBUG)
                    debug_transNumber = 1;
                #endif
            }else { // Else actions.
                SIB(p);
            }
        break;
        case i_DONE:
            // Entry check
            if(entryFsmFlg == 0){
                entryFsmFlg = 1;
                // Entry actions
                led(2);
            }
        break;
        default:
            // State index error trap (MISRA requiremment).
            Motor_Init();
            break;
    }

    // User actions to be executed after analyse the state.
    write_outputs();
    if(Is_Next_State_Illegal()) Motor_Init();
}


 // Implementation of Exit_functions.
static void Run_OnExit(void)
{
    stop();
    log_exit(1);
    beep();
}

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Ending code proposed by the user (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
/* end of module */
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Ending code proposed by the user (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
// Diagram comments (Start).
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
/*

Motor remark with / *marks* /
second line

Second remark

*/
// - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - -
// Diagram comments (End).
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++

//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
//  End of the automatic generated C-code.
//++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++++
